#include "core/parameter_store.h"

namespace murkfell {

ParameterStore::ParameterStore() {
  for (const ParameterInfo& info : kParameters) {
    if (info.kind == ParameterKind::stored) {
      values[info.id].store(info.defaultValue, std::memory_order_relaxed);
    }
  }
}

void ParameterStore::set(std::int32_t index, float value) {
  if (isStored(index)) {
    values[index].store(value, std::memory_order_relaxed);
  }
}

float ParameterStore::get(std::int32_t index) const {
  if (!isParameter(index)) return 0.0f;
  const ParameterInfo& info = kParameters[index];
  switch (info.kind) {
    case ParameterKind::stored:
      return values[index].load(std::memory_order_relaxed);
    case ParameterKind::mirror:
      return values[info.mirrored].load(std::memory_order_relaxed);
    case ParameterKind::editorOnly:
      return 0.0f;
  }
  return 0.0f;
}

}  // namespace murkfell
