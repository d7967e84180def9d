// Reference counting shared by every toolkit object: a new object holds one
// reference; the last forget() deletes it.
#pragma once

class CBaseObject {
 public:
  CBaseObject() = default;
  virtual ~CBaseObject() = default;
  CBaseObject(const CBaseObject&) = delete;
  CBaseObject& operator=(const CBaseObject&) = delete;

  void remember() { ++references; }
  void forget() {
    if (--references == 0) {
      delete this;
    }
  }
  long getNbReference() const { return references; }

 private:
  long references = 1;
};
