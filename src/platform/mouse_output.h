#pragma once
#include <cstdint>

namespace raz {

// Mouse event flags, with the values the system uses.
namespace MouseFlags {
inline constexpr std::uint32_t Move = 0x0001;
inline constexpr std::uint32_t LeftDown = 0x0002;
inline constexpr std::uint32_t LeftUp = 0x0004;
inline constexpr std::uint32_t RightDown = 0x0008;
inline constexpr std::uint32_t RightUp = 0x0010;
inline constexpr std::uint32_t VirtualDesk = 0x4000;  // absolute across every monitor
inline constexpr std::uint32_t Absolute = 0x8000;
}  // namespace MouseFlags

// One synthetic mouse event in absolute coordinates, 0..65535 across the primary screen, or
// across the virtual desktop with VirtualDesk.
class MouseOutput {
 public:
  virtual ~MouseOutput() = default;
  virtual void Emit(std::uint32_t flags, std::int32_t dx, std::int32_t dy) = 0;
};

}  // namespace raz
