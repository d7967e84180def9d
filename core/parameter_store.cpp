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
  if (!isParameter(index) || kParameters[index].kind == ParameterKind::editorOnly) {
    return 0.0f;
  }
  return values[kParameters[index].mirrored].load(std::memory_order_relaxed);
}

}  // namespace murkfell
