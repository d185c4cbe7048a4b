#include "board/device_link.h"

namespace raz {
namespace {

constexpr std::uint32_t kFirstDevice = 0;

void SetRateForFraming(VendorUsb& usb, const LinkState& link) {
  if (const auto rate = LinkRateFor(link.ReportFraming)) usb.SetLinkRate(link.BoardLink, *rate);
}

// Closes a handle still held, then opens the board. Returns true when it is open.
bool OpenBoard(VendorUsb& usb, LinkState& link) {
  if (link.LinkOpen) {
    usb.CloseDevice(link.BoardLink);
    link.LinkOpen = false;
  }
  if (usb.OpenDevice(kFirstDevice, link.BoardLink) != 0) return false;
  link.LinkOpen = true;
  SetRateForFraming(usb, link);
  return true;
}

}  // namespace

std::optional<std::uint32_t> LinkRateFor(std::int32_t framing) {
  if (framing == kPlainFraming) return kPlainLinkRate;
  if (framing == kFramedFraming) return kFramedLinkRate;
  return std::nullopt;
}

void ApplyBoardChoice(const BoardChoice& choice, LinkState& link) {
  if (choice.ReportFraming) link.ReportFraming = *choice.ReportFraming;
  if (choice.BoardModel) link.BoardModel = *choice.BoardModel;
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
