#pragma once
// Common base of every object an element owns. It carries nothing but the
// virtual destructor: the element deletes its object through it, whatever the
// type code says. Operations are dispatched by type code (ObjTypeOps.h).

class CObjBase {
 public:
  virtual ~CObjBase() = default;

 protected:
  CObjBase() = default;
  CObjBase(const CObjBase&) = default;
  CObjBase& operator=(const CObjBase&) = default;
};
