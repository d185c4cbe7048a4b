#include "vkeys/key_actions.h"

#include <string>

#include "base/text.h"

namespace raz {
namespace {

// The client's command codes of icons 2..9, which are not in icon order.
constexpr std::array<std::uint32_t, 8> kIconCommands{2001, 2006, 2014, 2004,
                                                     2013, 2003, 2002, 2000};

}  // namespace

std::string WindowName(std::string_view value) {
  return Utf8Prefix(value, kMaxWindowNameCharacters);
}

std::optional<int> KeyBand(std::int32_t rawY, const KeyLayout& layout) {
  const auto& b = layout.KeyBounds;
  for (int band = 0; band + 1 < static_cast<int>(b.size()); ++band) {
    if (b[band] < rawY && rawY < b[band + 1]) return band;
  }
  return std::nullopt;
}

MarginKeyAction KeyActionAt(std::int32_t rawY, const KeyLayout& layout) {
  const std::optional<int> band = KeyBand(rawY, layout);
  if (!band) return {};
  if (*band == 0) return {true, std::nullopt};
  return {false, kIconCommands[static_cast<std::size_t>(*band - 1)]};
}

std::intptr_t AnswerClientRequest(std::uintptr_t wParam, std::intptr_t lParam, bool boardPresent,
                                  Messenger& windows, ClientLink& client) {
  switch (wParam) {
    case kRegisterClient: {
      const auto window = static_cast<WindowHandle>(lParam);
      if (window == kBroadcastWindow ||
          windows.KindOf(window) != WindowKind::OtherProgramsTopLevel) {
        return 0;
      }
      client.ClientWindow = window;
      return 1;
    }
    case kAskBoardPresent:
      return boardPresent ? 1 : 0;
    case kAskKeyCount:
      return kKeysPerMargin;
    default:
      return 0;
  }
}

std::vector<std::uintptr_t> HoldKeyParams(const std::array<bool, 3>& zoneHit) {
  std::vector<std::uintptr_t> params;
  for (std::size_t zone = 0; zone < zoneHit.size(); ++zone) {
    if (zoneHit[zone]) params.push_back(zone);
  }
  return params;
}

}  // namespace raz
