#include "playback/playback.h"

// Placeholder bodies so the panel links while the playback rules are written.
namespace murmora {
void Playback::PlayAction() {}
bool Playback::IsWavePlaying(std::string) { return false; }
void Playback::Command3Click() {}
void Playback::Command4Click() {}
} // namespace murmora
