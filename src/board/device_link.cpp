#include "board/device_link.h"

namespace raz {
namespace {

constexpr std::uint32_t kFirstDevice = 0;

// Closes a handle still held, then opens the board. Returns true when it is open.
bool OpenBoard(VendorUsb& usb, LinkState& link) {
  if (link.LinkOpen) {
    usb.CloseDevice(link.BoardLink);
    link.LinkOpen = false;
  }
  if (usb.OpenDevice(kFirstDevice, link.BoardLink) != 0) return false;
  link.LinkOpen = true;
  usb.SetLinkRate(link.BoardLink, LinkRateFor(link.ReportFraming));
  return true;
}

}  // namespace

std::optional<BoardModelKind> BoardModelNamed(std::string_view name) {
  for (std::int32_t model = 0; model < kBoardModelCount; ++model) {
    if (name == kBoardModelNames[model]) return BoardModelFromStored(model);
  }
  return std::nullopt;
}

std::uint32_t LinkRateFor(ReportFraming framing) {
  return framing == ReportFraming::Framed ? kFramedLinkRate : kPlainLinkRate;
}

void ApplyBoardChoice(const BoardChoice& choice, LinkState& link) {
  if (choice.ReportFraming) link.ReportFraming = *choice.ReportFraming;
  if (choice.BoardModel) link.BoardModel = StoredNumber(*choice.BoardModel);
}

LinkWatch WatchLink(VendorUsb& usb, LinkState& link, bool reopen) {
  std::uint32_t deviceCount = 0;
  if (usb.ProbeDevices(deviceCount) != 0) {
    link.LinkOpenPending = true;
    link.BoardPresent = false;
    return {};
  }
  link.BoardPresent = true;
  LinkWatch watch{.Found = true};
  if (!reopen && !link.LinkOpenPending) return watch;
  // A failed open is tried again at the next watch.
  watch.Opened = OpenBoard(usb, link);
  link.LinkOpenPending = !watch.Opened;
  return watch;
}

void MarkLinkLost(LinkState& link) { link.LinkOpenPending = true; }

}  // namespace raz
