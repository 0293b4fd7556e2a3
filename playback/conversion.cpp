#include "playback/conversion.h"

// Placeholder body so the panel links while the conversion rules are written.
namespace murmora {
void Conversion::ConvertAction() {}
} // namespace murmora
