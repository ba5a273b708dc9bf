#pragma once
// The dispatch entries the special texts (serial number, date, VIN, ruler,
// barcode) share with the plain text: geometry, the project file with the
// block kept from reading, the marked text. Each class then replaces the
// entries that differ (copy, completion after reading, drawing).
#include <memory>
#include <string>

#include "document/mrk/MrkKeys.h"
#include "document/mrk/MrkLineWriter.h"
#include "document/objects/CObjElement.h"
#include "document/objects/ObjTypeOps.h"
#include "text/layout/TextSettings.h"

template <class T>
CObjTypeOps CommonTextTypeOps(const char* className) {
  CObjTypeOps t;
  t.className = className;
  t.objectSize = static_cast<int>(sizeof(T));
  t.isInstance = &IsExactly<T>;
  t.path = [](CObjBase& o) -> CPathData* { return &static_cast<T&>(o).GetPathData(); };
  t.create = []() -> std::unique_ptr<CObjBase> { return std::make_unique<T>(); };
  t.refresh = [](CObjElement&, CObjBase& o) { static_cast<T&>(o).RecalcPath(); };
  t.resize = [](CObjBase& o, CDoubleRect& oldRect, CDoubleRect& newRect, int handle) {
    static_cast<T&>(o).ResizeToRect(oldRect, newRect, handle);
  };
  t.offset = [](CObjBase& o, double dx, double dy) { static_cast<T&>(o).Offset(dx, dy); };
  t.rotate = [](CObjElement&, CObjBase& o, const CDoublePoint& centre, double angle) {
    static_cast<T&>(o).Rotate(angle, centre);
  };
  t.mirrorX = [](CObjBase& o, double a) { static_cast<T&>(o).MirrorX(a); };
  t.mirrorY = [](CObjBase& o, double a) { static_cast<T&>(o).MirrorY(a); };
  t.ownBounds = [](const CObjBase& o) { return static_cast<const T&>(o).GetElementBounds(); };
  t.write = [](const CObjElement& element, const CObjBase& o, MrkLineWriter& out, const std::string&) {
    // Unchanged since it was read: the block goes back as it came.
    const T& object = static_cast<const T&>(o);
    if (object.IsUnchangedSinceRead() && !element.keptClassBlock.empty()) {
      out.WriteRaw(element.keptClassBlock);
    } else {
      object.Write(out);
    }
  };
  t.setField = [](CObjBase& o, int key, const MrkValue& v) { static_cast<T&>(o).SetProperty(key, v); };
  t.setString = [](CObjBase& o, int key, const std::string& v) { static_cast<T&>(o).SetStringProperty(key, v); };
  // Serial numbers, VINs and codes report what was last marked; the
  // records look the current text up before a job through their own entry.
  t.getText = [](const CObjBase& o) { return static_cast<const T&>(o).GetMarkedText(); };
  t.storeMarkedText = [](CObjBase& o) { static_cast<T&>(o).StoreMarkedText(); };
  t.textArcRadius = [](const CObjBase& o) { return static_cast<double>(static_cast<const T&>(o).Settings().arcRadius); };
  t.textArcBorder = [](const CObjBase& o, CPointList& out) { static_cast<const T&>(o).GetArcBorderPath(out); };
  return t;
}

// Past the project reader's budget of built points a text is not laid out:
// it is attached standing in the rectangle it was saved with, its values as
// read, and is laid out when it is next changed.
template <class T>
void AttachUnlaidText(CObjElement& element, T* object) {
  const CDoubleRect saved = element.boundRect;
  element.AttachObject(object, static_cast<int>(sizeof(T)), saved);
  object->KeepSaved(saved);
}

// The same for a text whose completion lays out this text: it keeps it, and
// the anchor it would be laid out at, as the layout would have kept them.
template <class T>
void AttachUnlaidText(CObjElement& element, T* object, const std::string& text) {
  TextSettings& settings = object->Settings();
  settings.text = text;
  settings.anchor = object->GetFixedPoint(element.boundRect);
  AttachUnlaidText(element, object);
}

// Attaches an object completed after reading, with its bounds, and keeps the
// rectangle it was saved with.
template <class T>
void AttachReadText(CObjElement& element, T* object, const CDoubleRect& saved) {
  element.AttachObject(object, static_cast<int>(sizeof(T)), object->GetPathData().GetBoundRect());
  object->RecalcPath();
  object->KeepSaved(saved);
  element.UpdateBoundRect();
}
