// The undo history: whole copies of the layout in the project file format
// (with what that format has no key for), one per slot, written before
// every change. Also renaming an object with the check that names stay
// unique, and the default colour.
#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <system_error>
#include <vector>

#include "app/views/model/CVendrikViewModel.h"
#include "app/views/model/CutFillNotice.h"
#include "app/views/model/HistorySnapshot.h"
#include "document/doc/CVendrikDoc.h"
#include "document/geometry/SharedHelpers.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "platform/Cp936.h"
#include "platform/InstallDir.h"
#include "platform/NumberText.h"
#include "platform/Prompt.h"
#include "values/ShellValues.h"

namespace {

constexpr char kHistoryFolder[] = "HistoryOp";
constexpr char kNameExistsFormat[] = "%s \r\n\nSame object name is exist!";

// The history whose snapshots the folder holds (0: none), and the last
// history named. Layout windows share the folder; only the user-interface
// thread edits, undoes and opens.
std::atomic<unsigned> g_snapshotHolder{0};
std::atomic<unsigned> g_lastHistoryToken{0};

// The whole snapshot, or nothing when it cannot be read.
bool ReadWholeFile(const std::string& path, std::string& bytes) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  return !in.bad();
}

}  // namespace

std::string CVendrikViewModel::HistoryFilePath(int slot) const {
  const std::string folder = platform::JoinInstallPath(g_installDir, kHistoryFolder);
  return platform::JoinInstallPath(folder, platform::FormatC("History-%d.qzt", slot));
}

unsigned CVendrikViewModel::NewHistoryToken() { return ++g_lastHistoryToken; }

bool CVendrikViewModel::HoldsSnapshots() const { return g_snapshotHolder.load() == m_historyToken; }

bool CVendrikViewModel::CanUndo() const { return HoldsSnapshots() && m_historyCur > 0 && m_historyCur <= m_historyTop; }

bool CVendrikViewModel::CanRedo() const { return HoldsSnapshots() && m_historyCur >= 0 && m_historyCur < m_historyTop; }

void CVendrikViewModel::StartNewHistory() {
  if (HoldsSnapshots()) {
    std::error_code ec;
    for (int n = 0; n < kHistorySlots; ++n) std::filesystem::remove(HistoryFilePath(n), ec);
    g_snapshotHolder = 0;
  }
  m_historyToken = NewHistoryToken();
  m_historyTop = 0;
  m_historyCur = 0;
}

void CVendrikViewModel::SaveHistory(int keepSlot) {
  if (m_pDocument == nullptr) return;
  std::error_code ec;
  if (!HoldsSnapshots()) {
    // Another history wrote over the folder, or none of this one is there
    // yet: this history starts again from here, and what lies in the folder
    // is no part of it.
    for (int n = 0; n < kHistorySlots; ++n) std::filesystem::remove(HistoryFilePath(n), ec);
    m_historyTop = 0;
    m_historyCur = 0;
    g_snapshotHolder = m_historyToken;
  }
  std::filesystem::create_directories(platform::JoinInstallPath(g_installDir, kHistoryFolder), ec);
  const std::string path = HistoryFilePath(m_historyCur);
  StoreWholeFile(path, FormatHistorySnapshot(m_pDocument->Objects(), path));
  if (keepSlot) return;
  // A change after an Undo drops the states that Redo could have returned
  // to: they no longer follow from this one.
  m_historyTop = m_historyCur + 1;
  m_historyCur = m_historyTop;
  if (m_historyTop <= kHistorySlots - 1) return;
  for (int n = 0; n < kHistorySlots; ++n) {
    if (n == 0) {
      std::filesystem::remove(HistoryFilePath(0), ec);
    } else {
      std::filesystem::rename(HistoryFilePath(n), HistoryFilePath(n - 1), ec);
    }
  }
  --m_historyTop;
  --m_historyCur;
}

void CVendrikViewModel::PushHistory() {
  if (m_changeSnapshotHook) m_changeSnapshotHook();  // tests count the snapshots
  SaveHistory(0);
}

namespace {

// Reads a snapshot into `objects`; false (objects untouched) when the file
// is missing, damaged or holds no parameter record. A layout grown past what
// a project may hold comes back with the objects beyond it left empty, and
// the operator is told which.
bool ReadSnapshot(const std::string& path, CObjPtrArray& objects) {
  std::string bytes;
  if (!ReadWholeFile(path, bytes) || bytes.empty()) return false;
  CObjPtrArray read;
  std::vector<std::string> leftEmpty;
  if (ReadMrkBytes(bytes, read, &leftEmpty) == 0) return false;
  const CObjElement* first = read.GetAt(0);
  if (first == nullptr || first->type != OBJ_PROPERITY) return false;
  RestoreUnsavedSettings(bytes, read);
  objects = std::move(read);
  if (!leftEmpty.empty()) platform::MessageBox(LeftEmptyNotice(leftEmpty));
  return true;
}

// Machine parameters are no part of the undo history: their settings file
// is written the moment they change, so a layout read back from a snapshot
// keeps the parameter record the layout has now, and the record never
// disagrees with the file.
void KeepParameterRecord(CObjPtrArray& current, CObjPtrArray& loaded) {
  const CObjElement* live = current.GetAt(0);
  if (live == nullptr || live->type != OBJ_PROPERITY) return;
  std::unique_ptr<CObjElement> fromSnapshot = loaded.RemoveAt(0);
  loaded.InsertAt(0, current.RemoveAt(0));
  current.InsertAt(0, std::move(fromSnapshot));
}

}  // namespace

void CVendrikViewModel::UndoHistory() {
  if (m_pDocument == nullptr || !CanUndo() || IsMarkingBusy()) return;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  // The present state first, so that Redo can come back to it.
  if (m_historyTop == m_historyCur) SaveHistory(1);
  CObjPtrArray loaded;
  // The layout is replaced only once the snapshot has been read whole: a
  // missing or damaged one leaves the layout and the history as they were.
  if (!ReadSnapshot(HistoryFilePath(m_historyCur - 1), loaded)) return;
  --m_historyCur;
  RestoreSnapshot(loaded);
}

void CVendrikViewModel::RedoHistory() {
  if (m_pDocument == nullptr || !CanRedo() || IsMarkingBusy()) return;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  CObjPtrArray loaded;
  if (!ReadSnapshot(HistoryFilePath(m_historyCur + 1), loaded)) return;
  ++m_historyCur;
  RestoreSnapshot(loaded);
}

void CVendrikViewModel::RestoreSnapshot(CObjPtrArray& loaded) {
  KeepParameterRecord(m_pDocument->Objects(), loaded);
  // A snapshot is the same project: it stays saved under its file.
  const std::string path = m_pDocument->GetPathName();
  ReplaceContent(loaded);
  m_pDocument->SetFilePath(path);
  MarkModified(1);
}

bool CVendrikViewModel::CheckNameUnique(const CObjElement* element, const std::string& name) {
  if (m_pDocument == nullptr) return true;
  bool unique = true;
  for (const CObjElement* other : m_pDocument->Objects()) {
    if (other == nullptr || other == element || other->name != name) continue;
    platform::MessageBox(platform::FormatC(kNameExistsFormat, platform::Cp936ToUtf8(name).c_str()));
    unique = false;
  }
  return unique;
}

bool CVendrikViewModel::RenameObject(CObjElement* element, const std::string& name) {
  if (element == nullptr) return false;
  if (!CheckNameUnique(element, name)) {
    m_pPropView->SetObjectName(element->name);
    return false;
  }
  PushHistory();
  element->name = name;
  MarkModified(1);
  RefreshListItem(element);
  return true;
}

void CVendrikViewModel::SetDefaultColor(int color) {
  if (m_pDocument != nullptr) {
    for (int i = 1; i < m_pDocument->Objects().GetSize(); ++i) {
      CObjElement* element = m_pDocument->Objects().GetAt(i);
      if (element != nullptr && element->type != OBJ_PICTURE) element->color = color;
    }
  }
  CurrentDefaultColor = color;
  WriteRegDword("DefaultColor", color);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

void CVendrikViewModel::RegisterHistoryCommands() {
  // New objects take the colour the operator chose last time.
  ReadRegDword("DefaultColor", CurrentDefaultColor);
  AddCommand(ID_EDIT_UNDO, [this] { UndoHistory(); }, [this] { return CanUndo(); });
  AddCommand(ID_EDIT_REDO, [this] { RedoHistory(); }, [this] { return CanRedo(); });
}
