#include "app/frames/MarkRecordKeeper.h"

#include "document/objects/CObjElement.h"
#include "marking/controller/records/CMarkRecordsRecorder.h"
#include "marking/records/MarkDatabaseLocation.h"
#include "text/objects/CObjText.h"
#include "document/objects/ObjectType.h"

namespace {

// Before a job an element's marked text is that of the last job (or none):
// a VIN, a serial number or a code is looked up by the text it will mark now.
std::string TextAboutToBeMarked(const CObjElement& element) {
  if (element.type == OBJ_VIN || element.type == OBJ_SERIAL || element.type == OBJ_BARCODE) {
    if (const auto* text = element.GetObjectAs<CObjText>()) return text->GetText();
  }
  return element.GetText();
}

}  // namespace

std::shared_ptr<IMarkRecorder> MakeMarkRecordKeeper(const std::string& installFolder) {
  return std::make_shared<CMarkRecordsRecorder>(marking::MarkDatabaseLocation::FromSettings(installFolder),
                                                CMarkRecordsRecorder::TextOf{}, TextAboutToBeMarked);
}
