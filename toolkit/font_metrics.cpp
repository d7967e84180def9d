#include "toolkit/font_metrics.h"

#include <fontconfig/fontconfig.h>
#include <strings.h>

#include <memory>

namespace {

struct PatternDestroyer {
  void operator()(FcPattern* pattern) const { FcPatternDestroy(pattern); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDestroyer>;

// The request as cairo makes it for a family, slant and weight.
Pattern requestFor(const std::string& family, bool bold, bool italic) {
  Pattern request(FcPatternCreate());
  FcPatternAddString(request.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(request.get(), FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_MEDIUM);
  FcPatternAddInteger(request.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcConfigSubstitute(nullptr, request.get(), FcMatchPattern);
  FcDefaultSubstitute(request.get());
  return request;
}

bool boundStrongly(const FcPattern* request, const FcChar8* family) {
  FcValue value;
  FcValueBinding binding;
  for (int id = 0;
       FcPatternGetWithBinding(request, FC_FAMILY, id, &value, &binding) == FcResultMatch; ++id) {
    if (binding != FcValueBindingWeak && value.type == FcTypeString &&
        strcasecmp(reinterpret_cast<const char*>(value.u.s),
                   reinterpret_cast<const char*>(family)) == 0) {
      return true;
    }
  }
  return false;
}

}  // namespace

bool drawsWithOwnMetrics(const std::string& family, bool bold, bool italic) {
  const Pattern request = requestFor(family, bold, italic);
  FcResult result;
  const Pattern match(FcFontMatch(nullptr, request.get(), &result));
  if (!match) {
    return false;  // no fonts at all: cairo falls back to its built-in face
  }
  FcChar8* matched;
  for (int id = 0; FcPatternGetString(match.get(), FC_FAMILY, id, &matched) == FcResultMatch;
       ++id) {
    if (boundStrongly(request.get(), matched)) {
      return true;
    }
  }
  return false;
}
