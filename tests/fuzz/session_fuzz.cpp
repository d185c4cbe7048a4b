// A whole session in any order: pen reports, the cable pulled and read errors, menu and dialog
// commands, tray clicks, client requests, display changes and time, through the headless host
// that fires the handlers the way the real program's message loop does. Whatever the order,
// no handler lets an exception escape, and once the pen has left the board (or the program has
// exited) no mouse button is left down.
//
// Input layout: one option byte (bit 0 framed reports, bit 1 the margin keys switched on,
// bit 2 autostart on), then operations of three bytes each: an opcode and two argument bytes.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <vector>

#include "app/form1.h"
#include "app/form2.h"
#include "hosts/headless/headless_host.h"
#include "memory_platform.h"
#include "shell/tray.h"
#include "sim/board_model.h"
#include "sim/report_bytes.h"
#include "storage/data_files.h"
#include "storage/settings.h"
#include "unit/board/fake_board_usb.h"
#include "vkeys/key_actions.h"

namespace {

using raz::sim::PenContact;

constexpr std::size_t kMaxOperations = 200;
constexpr std::uint64_t kMaxVirtualMicros = 20'000'000;
constexpr int kDisplays[][2] = {{1024, 768}, {1920, 1080}, {800, 600}, {1366, 768}};
// Mouse messages the tray icon's callback carries in lParam.
constexpr std::intptr_t kTrayMouseMessages[] = {0x200, 0x201, 0x202, 0x203, 0x204, 0x205, 0x206};
constexpr std::uintptr_t kClientRequests[] = {raz::kRegisterClient, raz::kAskBoardPresent,
                                              raz::kAskKeyCount, 0, 7};

// Buttons as the injected events leave them.
class ButtonTrackingMouse : public raz::MouseOutput {
 public:
  void Emit(std::uint32_t flags, std::int32_t, std::int32_t) override {
    namespace F = raz::MouseFlags;
    if (flags & F::LeftDown) leftDown = true;
    if (flags & F::LeftUp) leftDown = false;
    if (flags & F::RightDown) rightDown = true;
    if (flags & F::RightUp) rightDown = false;
  }
  bool leftDown = false;
  bool rightDown = false;
};

// Margin keys on, calibrated over the left and right margins, and a hold target that exists.
constexpr char kKeysOnSettings[] =
    "[PARAMETERS]\nAPPClassName=Board\nAPPCaption=Lesson\nPen=0\nPenRight=0\nvkey=1\n"
    "[VKeyCali]\nVKeyPoint_L_TopX=150\nVKeyPoint_L_TopY=150\nVKeyPoint_L_BottomX=150\n"
    "VKeyPoint_L_BottomY=2800\nVKeyPoint_R_middleX=2800\nVKeyPoint_R_middleY=1500\n";

struct Session {
  raz::test::FakeBoardUsb usb;
  raz::fuzz::MemoryPlatform memory{usb};
  ButtonTrackingMouse mouse;
  raz::Platform platform{memory.files,     memory.profile, memory.display, usb,
                         mouse,            memory.messenger, memory.shell, memory.clock};
  raz::sim::BoardModel model;
  std::uint64_t reportIndex = 0;
  std::unique_ptr<raz::HeadlessHost> host;

  explicit Session(std::uint8_t options) {
    memory.shell.programsFolder = "C:\\Programs";
    memory.shell.startupFolder = "C:\\Startup";
    if (options & 1) raz::SaveFlag(memory.files, raz::kFramingFileName, 1);
    if (options & 4) raz::SaveFlag(memory.files, raz::kAutostartFileName, 1);
    if (options & 2) {
      memory.profile.texts[raz::ProgramFile(memory.files, raz::kSettingsFileName)] =
          kKeysOnSettings;
      memory.messenger.windows[{"Board", "Lesson"}] = 77;
    }
    host = std::make_unique<raz::HeadlessHost>(platform, memory.clock);
    host->Start();
  }

  // One report from the pen at the given cell, queued as one read batch in the framing the
  // driver uses.
  void QueueReport(PenContact contact, std::uint8_t x, std::uint8_t y) {
    const raz::sim::CellPoint at{x * 147.0 / 255, y * 147.0 / 255};
    const raz::sim::PlainReport report = model.Report({contact, at, 1.0}, reportIndex++);
    if (host->state().link.ReportFraming == raz::ReportFraming::Framed) {
      const raz::sim::ReportFrame frame = raz::sim::FrameReport(report);
      usb.batches.emplace_back(frame.begin(), frame.end());
    } else {
      usb.batches.emplace_back(report.begin(), report.end());
    }
  }

  // A stroke along the way the arguments give, one report per poll.
  void Stroke(PenContact contact, std::uint8_t a, std::uint8_t b) {
    for (int k = 0; k < 8; ++k) {
      QueueReport(contact, static_cast<std::uint8_t>(a + 4 * k), b);
      host->RunFor(2'000);
    }
  }

  void Command(std::uint8_t which, std::uint8_t argument) {
    raz::TForm1& f1 = host->form1();
    raz::TForm2& f2 = host->form2();
    const std::function<void()> commands[] = {
        [&] { f1.N1Click(); },       [&] { f1.N6Click(); },      [&] { f1.N2Click(); },
        [&] { f1.N7Click(); },       [&] { f1.English1Click(); }, [&] { f1.N4Click(); },
        [&] { f1.N8Click(); },       [&] { f1.Button1Click(); }, [&] { f1.Button3Click(); },
        [&] { f1.FormKeyDown(argument); }, [&] { f2.FormShow(); }, [&] { f2.Button1Click(); },
        [&] { f2.Button2Click(); },  [&] { f1.N3Click(); },
    };
    host->Dispatch(commands[which % std::size(commands)]);
  }

  void Run(std::uint8_t op, std::uint8_t a, std::uint8_t b) {
    switch (op % 12) {
      case 0: Stroke(PenContact::Touch, a, b); break;
      case 1: Stroke(PenContact::RightButton, a, b); break;
      case 2: QueueReport(static_cast<PenContact>(a % 3), a, b); break;  // away, near, hover
      case 3: host->RunFor((a + 1) * 1'000ull * (b % 8 + 1)); break;
      case 4: usb.present = (a & 1) != 0; break;
      case 5: usb.readResult = (a & 1) ? 4 : 0; usb.shortReadBytes = b % 50; break;
      case 6: Command(a, b); break;
      case 7: host->Deliver(raz::kTrayCallbackMessage, raz::kTrayIconId,
                            kTrayMouseMessages[a % std::size(kTrayMouseMessages)]); break;
      case 8: host->SendClientRequest(kClientRequests[a % std::size(kClientRequests)], b); break;
      case 9: memory.display.Set(kDisplays[a % 4][0], kDisplays[a % 4][1]); break;
      case 10: QueueReport(PenContact::Touch, a, b); break;  // one report, no time passes
      case 11: usb.batches.clear(); break;  // whatever the board had queued is lost
    }
  }

  // The pen leaves, the cable is good and the program runs on for a while.
  void Settle() {
    usb.present = true;
    usb.readResult = 0;
    usb.shortReadBytes = 0;
    for (int k = 0; k < 50 && !host->Closed(); ++k) {
      QueueReport(PenContact::Away, 0, 0);
      host->RunFor(20'000);
    }
    if (!host->Closed()) host->RunFor(3'000'000);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  Session session(data[0]);
  for (std::size_t at = 1, n = 0; at + 3 <= size && n < kMaxOperations; at += 3, ++n) {
    if (session.host->Closed() || session.memory.clock.NowMicros() > kMaxVirtualMicros) break;
    session.Run(data[at], data[at + 1], data[at + 2]);
  }
  session.Settle();
  if (!session.host->shownErrors().empty()) std::abort();
  if (session.mouse.leftDown || session.mouse.rightDown) std::abort();
  return 0;
}
