// Reading project files: a state machine over key/value pairs. The context
// says what the open block is (between objects, an element's own keys, or one
// class block); the key number says how its value line is parsed and, with
// the context, who receives it.
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "document/doc/CObjPtrArray.h"
#include "document/mrk/MrkFile.h"
#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineReader.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/CObjImage.h"
#include "document/objects/CObjPolyLine.h"
#include "document/objects/ObjTypeOps.h"
#include "document/path/CPathData.h"
#include "platform/Prompt.h"
#include "platform/WinTypes.h"

namespace {

constexpr int kBetweenObjects = 0;
constexpr int kElementHeader = 1;
// Class contexts are the class numbers of ObjClassId (2 .. 15).

bool IsContext(int context, ObjClassId id) { return context == static_cast<int>(id); }

// Texts keep their layout rectangle in the element's cached bounds (55..58)
// and take strings through their own setter.
bool IsTextContext(int context) {
  return IsContext(context, ObjClassId::Text) || IsContext(context, ObjClassId::TextAutoUpdate) ||
         IsContext(context, ObjClassId::TextDate) || IsContext(context, ObjClassId::TextVin) ||
         IsContext(context, ObjClassId::BarCode) || IsContext(context, ObjClassId::TextRuler);
}

bool IsStringKeyOf(int context, int key) {
  if (key == 230 || key == 231 || key == 232 || key == 235) return true;
  // The serial number and the barcode have more strings (their serial parts).
  const bool serial = IsContext(context, ObjClassId::TextAutoUpdate) || IsContext(context, ObjClassId::BarCode);
  return serial && key >= 236 && key <= 241;
}

// Class contexts whose block ends at any structure key.
bool EndsAtAnyStructureKey(int context) {
  return context >= 2 && !IsTextContext(context) && !IsContext(context, ObjClassId::Image);
}

// A text value as the object takes it: no writer puts more than
// kMrkMaxTextValue bytes on a line, and a longer one (a damaged or made-up
// file) would have the text build hundreds of points for every byte. Cut on
// a character boundary, as the writer cuts.
std::string_view CutTextValue(std::string_view value) {
  if (value.size() <= kMrkMaxTextValue) return value;
  std::size_t end = 0;
  while (end < value.size()) {
    const unsigned char c = static_cast<unsigned char>(value[end]);
    const std::size_t width = c >= 0x81 && c <= 0xFE && end + 1 < value.size() ? 2 : 1;
    if (end + width > kMrkMaxTextValue) break;
    end += width;
  }
  return value.substr(0, end);
}

// Classes whose outline points are the object itself, as the file stores
// them; every other class makes its points from its settings.
bool KeepsItsOwnPoints(int type) {
  const ObjClassId id = ObjClassOfType(type);
  return id == ObjClassId::Line || id == ObjClassId::PolyLine || id == ObjClassId::BSpline ||
         id == ObjClassId::DotCollect;
}

class MrkFileReader {
 public:
  MrkFileReader(std::string_view content, CObjPtrArray& out, std::vector<std::string>* leftEmpty,
                std::size_t pictureBudget)
      : lines_(content),
        out_(out),
        leftEmpty_(leftEmpty),
        pointBudget_(kMaxProjectPoints + static_cast<long long>(content.size())),
        pictureBudget_(pictureBudget) {}

  int Run() {
    std::string line;
    if (!lines_.ReadMrkLine(line) || ParseMrkKey(line) != 200) {
      platform::MessageBox(kMrkNotProjectText, "Vendrik", MB_OK | MB_ICONERROR);
      return 0;
    }
    lines_.Seek(0);
    if (!ScanVersion()) return 1;
    std::string keyLine;
    std::string value;
    while (true) {
      keyLineStart_ = lines_.Position();
      if (!lines_.ReadMrkLine(keyLine)) break;
      const int key = ParseMrkKey(keyLine);
      const MrkKeyKind kind = MrkKeyKindOf(key);
      if (kind == MrkKeyKind::None) continue;
      if (kind == MrkKeyKind::Binary) {
        ReadEmbedded(key);
        continue;
      }
      if (!lines_.ReadMrkValueLine(value)) break;
      if (kind == MrkKeyKind::Text) {
        if (!OnStructureKey(key, value)) break;
      } else {
        OnValueKey(key, MrkValue::Parse(key, value));
      }
    }
    return 1;
  }

 private:
  // Reads pairs up to the version pair; false when the file has none.
  bool ScanVersion() {
    std::string keyLine;
    std::string value;
    while (lines_.ReadMrkLine(keyLine) && lines_.ReadMrkValueLine(value)) {
      if (value == kMrkVersion2004Text) {
        version_ = kMrkVersion2004;
        return true;
      }
      if (value == kMrkVersion2008Text) {
        version_ = kMrkVersion2008;
        return true;
      }
    }
    return false;
  }

  // Returns false when the file end marker is met.
  bool OnStructureKey(int key, const std::string& value) {
    if (context_ == kElementHeader) {
      if (key == 201) {
        element_->name = value;
        return true;
      }
      if (key == 202) {
        EnterClassContext();
        return true;
      }
      // An element without a class block (a reserved type code) still ends
      // at its end marker instead of swallowing the elements after it.
      return OnMarker(value);
    }
    if (context_ == kBetweenObjects || IsContext(context_, ObjClassId::Image)) return OnMarker(value);
    if (EndsAtAnyStructureKey(context_)) {
      context_ = kBetweenObjects;
      return true;
    }
    // Text classes. A barcode's block holds its serial-number block: the
    // inner end marker does not end the barcode.
    if (key == 202 && IsContext(context_, ObjClassId::BarCode)) {
      classDepth_ += value == kMrkClassEndValue ? -1 : 1;
      if (classDepth_ <= 0) context_ = kBetweenObjects;
    } else if (key == 202) {
      context_ = kBetweenObjects;
    } else if (IsStringKeyOf(context_, key) && object_ && ops_ && ops_->setString) {
      ops_->setString(*object_, key, std::string(CutTextValue(value)));
    }
    return true;
  }

  bool OnMarker(const std::string& value) {
    if (value == kMrkObjectStartValue || value == kMrkObjectStartValueEn) {
      // An element still open is dropped with its object.
      element_ = std::make_unique<CObjElement>();
      pictureLeftBlank_ = false;
      object_.reset();
      ops_ = nullptr;
      StopKeeping();
      context_ = kElementHeader;
    } else if (value == kMrkObjectEndValue || value == kMrkObjectEndValueEn) {
      if (element_) CompleteElement();
    } else if (value == kMrkFileEndValue || value == kMrkFileEndValueEn) {
      return false;
    }
    return true;
  }

  // The element's class block begins: a fresh object of the class its type
  // code names. A class that is not built in gets its context all the same,
  // so its keys stay off the element, and its block is kept as it stands.
  void EnterClassContext() {
    const ObjClassId id = ObjClassOfType(element_->type);
    if (id == ObjClassId::None) return;
    ops_ = FindObjClassOps(id);
    object_ = ops_ && ops_->create ? ops_->create() : nullptr;
    if (!object_) {
      ops_ = nullptr;
      StartKeeping(id);
    } else if (IsTextContext(static_cast<int>(id))) {
      // Texts are read into their objects and their block is kept beside:
      // unchanged, a text is written back as it was read.
      copyingText_ = true;
      keptFrom_ = keyLineStart_;
      kept_.clear();
    }
    context_ = static_cast<int>(id);
    classDepth_ = 1;
  }

  void CompleteElement() {
    if (copyingText_) {
      KeepLinesUpTo(keyLineStart_);
      element_->keptClassBlock = std::move(kept_);
      StopKeeping();
    }
    // Past the budget every object is left empty, decided before it is
    // built: a class that makes its points from its settings does not make
    // them, and no fill, the costly part of the others, is made.
    if (object_ && ops_ && budgetPassed_ && ops_->finishReadEmpty) {
      ops_->finishReadEmpty(*element_, std::move(object_), version_);
    } else if (object_ && ops_ && ops_->finishRead) {
      const int fillOn = element_->IsFillOn();
      if (budgetPassed_) element_->SetFillOn(0);
      ops_->finishRead(*element_, std::move(object_), version_);
      element_->SetFillOn(fillOn);
    }
    object_.reset();
    ops_ = nullptr;
    if (keeping_) element_->keptClassBlock = TakeKept();
    KeepWithinBudget(*element_);
    if (pictureLeftBlank_ && leftEmpty_ != nullptr) leftEmpty_->push_back(element_->name);
    pictureLeftBlank_ = false;
    out_.Add(std::move(element_));
    context_ = kBetweenObjects;
  }

  // Each object is measured once built: the one that passes the budget and
  // every one after it are left empty, so the points held never pass the
  // budget by more than one object.
  void KeepWithinBudget(CObjElement& element) {
    CPathData* path = element.GetPath();
    if (path == nullptr) return;
    const long long points = path->CountPoints();
    if (!budgetPassed_ && pointsHeld_ + points <= pointBudget_) {
      pointsHeld_ += points;
      return;
    }
    budgetPassed_ = true;
    path->RemoveAllGroups();
    if (!KeepsItsOwnPoints(element.type)) {
      path->points.RemoveAll();
      path->second.RemoveAll();
    }
    if (leftEmpty_ != nullptr) leftEmpty_->push_back(element.name);
  }

  // Keeping the class block of a class without a table: every byte from the
  // block's first key line up to the element's end marker, lines ending in
  // CR LF as the writer ends them, embedded data as it is.
  void StartKeeping(ObjClassId id) {
    StopKeeping();
    keeping_ = true;
    keptFrom_ = keyLineStart_;
    if (id == ObjClassId::BSpline && version_ == kMrkVersion2004) oldSpline_ = std::make_unique<CObjPolyLine>();
  }

  void StopKeeping() {
    keeping_ = false;
    copyingText_ = false;
    kept_.clear();
    keptEmbeddedSize_ = 0;
    oldSpline_.reset();
  }

  // Appends the whole lines between keptFrom_ and end.
  void KeepLinesUpTo(std::size_t end) {
    const std::string_view content = lines_.Content();
    while (keptFrom_ < end) {
      std::size_t stop = content.find('\n', keptFrom_);
      if (stop == std::string_view::npos || stop >= end) stop = end;
      std::string_view line = content.substr(keptFrom_, stop - keptFrom_);
      if (stop < end && !line.empty() && line.back() == '\r') line.remove_suffix(1);
      kept_.append(line);
      kept_.append("\r\n");
      keptFrom_ = stop < end ? stop + 1 : end;
    }
  }

  std::string TakeKept() {
    std::string block;
    if (oldSpline_) {
      // An old file's B-spline goes back in today's form: the corrections a
      // reader makes only for old files would otherwise be lost with the
      // version mark.
      oldSpline_->CloseOldFormat(1);
      MrkLineWriter out(block);
      out.WriteClassBegin("CObjBSpline");
      oldSpline_->WriteBody(out);
    } else {
      KeepLinesUpTo(keyLineStart_);
      block = std::move(kept_);
    }
    StopKeeping();
    return block;
  }

  void OnValueKey(int key, const MrkValue& value) {
    if (context_ == kBetweenObjects) return;
    const MrkKeyKind kind = value.kind;
    if (context_ == kElementHeader) {
      if (kind == MrkKeyKind::Double) return;
      element_->SetByKey(key, value);
      // Old files stored the colour switched the other way.
      if (key == 165 && version_ == kMrkVersion2004) element_->color = element_->color == 0 ? 1 : 0;
      return;
    }
    if (kind == MrkKeyKind::Double && IsTextContext(context_) && key >= 55 && key <= 58) {
      CDoubleRect& r = element_->boundRect;
      double* sides[] = {&r.left, &r.top, &r.right, &r.bottom};
      *sides[key - 55] = value.d;
      return;
    }
    if (!ClassTakes(key, kind)) return;
    if (keeping_) {
      KeepValue(key, value);
      return;
    }
    SetClassField(key, value);
  }

  // What a kept block's reading needs of its values: the size of a picture's
  // embedded file, and an old B-spline's vertices.
  void KeepValue(int key, const MrkValue& value) {
    if (key == 160 && IsContext(context_, ObjClassId::Image)) keptEmbeddedSize_ = value.i;
    if (!oldSpline_) return;
    // Old files: the first vertex always starts with a pen-up move.
    if (key == 102 && oldSpline_->GetLoadCursor() == 0) {
      oldSpline_->SetField(key, MrkValue::OfInt(0));
    } else {
      oldSpline_->SetField(key, value);
    }
  }

  bool ClassTakes(int key, MrkKeyKind kind) const {
    const bool image = IsContext(context_, ObjClassId::Image);
    switch (kind) {
      case MrkKeyKind::Double:
        return true;
      case MrkKeyKind::Float:
      case MrkKeyKind::Byte:
        return !image;
      case MrkKeyKind::Int:
        if (key >= 160) return true;
        return !image && !IsContext(context_, ObjClassId::DrawProperity) && !IsContext(context_, ObjClassId::Line);
      default:
        return false;
    }
  }

  void SetClassField(int key, const MrkValue& value) {
    if (!object_ || !ops_ || !ops_->setField) return;
    const bool old = version_ == kMrkVersion2004;
    if (old && key == 102 &&
        (IsContext(context_, ObjClassId::PolyLine) || IsContext(context_, ObjClassId::BSpline))) {
      // Old files: the first vertex always starts with a pen-up move.
      const auto* poly = dynamic_cast<const CObjPolyLine*>(object_.get());
      if (poly && poly->GetLoadCursor() == 0) {
        ops_->setField(*object_, key, MrkValue::OfInt(0));
        return;
      }
    }
    ops_->setField(*object_, key, value);
    if (old && IsContext(context_, ObjClassId::Line)) {
      // Old files hold no point flags: the start point is a pen-up, the end joins it.
      if (key == 20) ops_->setField(*object_, 190, MrkValue::OfByte(0));
      if (key == 21) ops_->setField(*object_, 191, MrkValue::OfByte(1));
    }
  }

  // Raw bytes right after the key line; only pictures have them. Elsewhere
  // the key line is skipped like any unknown one.
  void ReadEmbedded(int key) {
    if (keeping_ && IsContext(context_, ObjClassId::Image)) {
      KeepEmbedded();
      return;
    }
    if (!IsContext(context_, ObjClassId::Image) || !object_ || !ops_ || !ops_->readEmbedded) return;
    const std::size_t pos = lines_.Position();
    const std::size_t available = lines_.Content().size() - pos;
    auto* image = dynamic_cast<CObjImage*>(object_.get());
    std::size_t taken = image && pictureBudgetPassed_ ? image->LoadEmbedded(lines_.Content().substr(pos), false)
                                                      : ops_->readEmbedded(*object_, key, lines_.Content(), pos);
    if (taken > available) taken = available;
    lines_.Seek(pos + taken);
    if (image) KeepPictureWithinBudget(*image);
  }

  // Pictures decode to far more than their bytes (a small packed file can
  // name a picture of millions of pixels): the one that passes the budget
  // and every one after it keep only their file bytes, as pictures that do
  // not decode do, and are saved as read.
  void KeepPictureWithinBudget(CObjImage& image) {
    const std::size_t bytes = image.DecodedBytes();
    if (!pictureBudgetPassed_ && bytes <= pictureBudget_ - picturesHeld_) {
      picturesHeld_ += bytes;
      return;
    }
    pictureBudgetPassed_ = true;
    image.ForgetDecoded();
    pictureLeftBlank_ = true;
  }

  // A picture without its class: the bytes its size key announced follow
  // the key line; they are kept, and skipped rather than read as lines.
  void KeepEmbedded() {
    if (keptEmbeddedSize_ <= 0) return;
    const std::size_t pos = lines_.Position();
    const std::size_t available = lines_.Content().size() - pos;
    std::size_t taken = static_cast<std::size_t>(keptEmbeddedSize_);
    if (taken > available) taken = available;
    KeepLinesUpTo(pos);
    kept_.append(lines_.Content().substr(pos, taken));
    keptFrom_ = pos + taken;
    lines_.Seek(pos + taken);
  }

  MrkLineReader lines_;
  CObjPtrArray& out_;
  std::vector<std::string>* leftEmpty_;
  const long long pointBudget_;
  long long pointsHeld_ = 0;
  bool budgetPassed_ = false;
  const std::size_t pictureBudget_;
  std::size_t picturesHeld_ = 0;  // bytes of decoded pictures
  bool pictureBudgetPassed_ = false;
  bool pictureLeftBlank_ = false;  // the open element's picture is not decoded
  int version_ = 0;
  int context_ = kBetweenObjects;
  int classDepth_ = 0;  // open class blocks inside a barcode's block
  std::unique_ptr<CObjElement> element_;
  std::unique_ptr<CObjBase> object_;  // object of the open class block
  const CObjTypeOps* ops_ = nullptr;
  std::size_t keyLineStart_ = 0;  // where the key line being handled begins

  // The class block being kept.
  bool keeping_ = false;
  bool copyingText_ = false;  // a text's block, kept beside its object
  std::size_t keptFrom_ = 0;  // first byte not yet in kept_
  std::string kept_;
  long long keptEmbeddedSize_ = 0;
  std::unique_ptr<CObjPolyLine> oldSpline_;  // an old file's B-spline, read as its polyline
};

}  // namespace

int ReadMrkBytes(std::string_view content, CObjPtrArray& objects, std::vector<std::string>* leftEmpty,
                 std::size_t pictureBudget) {
  return MrkFileReader(content, objects, leftEmpty, pictureBudget).Run();
}

int ReadMrkFile(const std::string& path, CObjPtrArray& objects, std::vector<std::string>* leftEmpty) {
  // Opened for reading only: a read-only project loads like any other.
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return 1;
  std::ifstream file(path, std::ios::binary | std::ios::ate);
  if (!file) return 1;
  const std::streamoff size = file.tellg();
  if (size < 0) return 1;
  std::string content(static_cast<std::size_t>(size), '\0');
  file.seekg(0);
  if (!file.read(content.data(), size)) return 1;
  return ReadMrkBytes(content, objects, leftEmpty);
}
