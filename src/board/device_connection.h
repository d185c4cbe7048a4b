#pragma once
// The device watch: every two seconds, apply the settings dialog's confirmed choices, watch
// the display, probe the board, open it, and start polling it.
#include <cstdint>
#include <optional>

namespace raz {

class TForm1;

// Main-window Label2 after a probe.
inline constexpr char kBoardFoundText[] = "ok";
inline constexpr char kBoardMissingText[] = "no";

inline constexpr std::uint32_t kPlainLinkRate = 460800;
inline constexpr std::uint32_t kFramedLinkRate = 115200;

// The link rate the board's framing needs; no rate for an unknown framing.
std::optional<std::uint32_t> LinkRateFor(std::int32_t framing);

// The whole Timer2 tick.
void WatchDevice(TForm1& form);

// A probe failed: a pen that was pressing cannot report its lift any more, so the left
// button the driver holds is let go here.
void OnBoardLost(TForm1& form);

}  // namespace raz
