// Names an embedded resource by its (case-insensitive) name.
#pragma once

struct CResourceDescription {
  explicit CResourceDescription(const char* name) : name(name) {}
  const char* name;
};
