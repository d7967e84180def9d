// Which face fontconfig draws a font family with, as far as its metrics go.
#pragma once

#include <string>

// Whether `family` in this style is drawn with the family's own metrics: by
// the family itself or by a metric-compatible stand-in (Liberation Sans or
// Arimo for Arial). Fontconfig's configuration binds exactly those stand-ins
// strongly to a request; every other fallback is bound weakly and usually
// sets lines wider or narrower.
bool drawsWithOwnMetrics(const std::string& family, bool bold, bool italic);
