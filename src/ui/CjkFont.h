#pragma once

namespace orva {

// Adds a Chinese-capable family behind the application's font, so that Chinese texts render
// where the default family has no such glyphs. Call once the application object exists.
void installCjkFontFallback();

}  // namespace orva
