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

// Holds a reference while it lives, so an object outlives a call that may
// release it (a view whose own handler takes it out of the frame).
class CBaseObjectGuard {
 public:
  explicit CBaseObjectGuard(CBaseObject* object) : object(object) { object->remember(); }
  ~CBaseObjectGuard() { object->forget(); }
  CBaseObjectGuard(const CBaseObjectGuard&) = delete;
  CBaseObjectGuard& operator=(const CBaseObjectGuard&) = delete;

 private:
  CBaseObject* object;
};
