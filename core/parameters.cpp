#include "core/parameters.h"

#include <algorithm>
#include <cctype>

namespace murkfell {

std::optional<ParameterId> parameterNamed(std::string_view name) {
  const auto sameName = [name](const ParameterInfo& info) {
    return !info.name.empty() &&
           std::ranges::equal(info.name, name, [](unsigned char a, unsigned char b) {
             return std::tolower(a) == std::tolower(b);
           });
  };
  const auto found = std::ranges::find_if(kParameters, sameName);
  if (found == kParameters.end()) return std::nullopt;
  return found->id;
}

}  // namespace murkfell
