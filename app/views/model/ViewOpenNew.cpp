// File Open and File New of the active layout. A file is read into an array
// of its own and swapped in only when the reader accepted it, so a refused
// file leaves the layout, its path and the object list as they were.
#include "app/views/model/CVendrikViewModel.h"
#include "document/doc/CVendrikDoc.h"
#include "document/mrk/MrkFile.h"
#include "document/objects/CObjElement.h"
#include "document/params/CDrawProperity.h"
#include "platform/FileDialog.h"
#include "platform/Prompt.h"

namespace {

constexpr char kSaveChangesText[] = "Mark data is repared !,Save data?";
constexpr char kNoNameTitle[] = "NoneName";

}  // namespace

void CVendrikViewModel::ReplaceContent(CObjPtrArray& objects) {
  if (m_pDocument == nullptr) return;
  std::lock_guard<std::recursive_mutex> lock(m_viewLock);
  ClearSelection();
  m_pointList.RemoveAll();
  m_toolCode = 0;
  m_dragState = 0;
  m_hitCode = 255;
  // The list and the property pages take the new elements while the old ones
  // still live: a page lets go of its object only when it is given another.
  m_pPropView->FillObjectList(objects);
  m_pPropView->SelectListIndex(0);
  // The document releases its old content (and forgets its path) before it
  // takes the new.
  m_pDocument->DeleteAllObjects();
  std::swap(m_pDocument->Objects(), objects);
  m_bMemValid = false;
  if (m_pWindow != nullptr) m_pWindow->Invalidate();
}

bool CVendrikViewModel::AskSaveChanges() {
  if (m_pDocument == nullptr || m_pDocument->GetSavedState() == 0) return true;
  switch (platform::MessageBox(kSaveChangesText, "Vendrik", MB_YESNOCANCEL | MB_ICONQUESTION)) {
    case IDCANCEL: return false;
    case IDYES: return m_pDocument->SaveIfNamed(0) != 0;
    default: MarkModified(0); return true;
  }
}

bool CVendrikViewModel::OnFileOpen() {
  if (m_pDocument == nullptr || IsMarkingBusy()) return false;
  platform::FileDialogRequest request;
  request.save = false;
  request.defaultExt = "*.mrk";
  request.filter = kMrkFilter;
  request.flags = platform::OFN_HIDEREADONLY | platform::OFN_OVERWRITEPROMPT;
  const std::optional<std::string> path = platform::AskFile(request);
  if (!path) return false;
  return OpenProjectFile(*path);
}

bool CVendrikViewModel::OpenProjectFile(const std::string& path) {
  if (m_pDocument == nullptr || IsMarkingBusy()) return false;
  // Whatever the file holds, a drawing tool in progress ends.
  EndConstruction();
  if (!AskSaveChanges()) return false;
  return OnLoadMrkFile(path);
}

bool CVendrikViewModel::OnFileNew() {
  if (m_pDocument == nullptr || IsMarkingBusy()) return false;
  if (!AskSaveChanges()) return false;
  CObjPtrArray fresh;
  auto record = std::make_unique<CObjElement>(CObjCreateRecord{
      MakeDefaultName(OBJ_PROPERITY), OBJ_PROPERITY, new CDrawProperity(), static_cast<int>(sizeof(CDrawProperity)), {}});
  fresh.Add(std::move(record));
  ReplaceContent(fresh);
  StartNewHistory();
  m_pDocument->SetSavedState(0);
  m_pDocument->SetTitle(kNoNameTitle);
  if (m_onContentReplaced) m_onContentReplaced();
  return true;
}

void CVendrikViewModel::RegisterOpenNewCommands() {
  AddCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
  AddCommand(ID_FILE_NEW, [this] { OnFileNew(); });
}
