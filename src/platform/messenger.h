#pragma once
#include <cstdint>
#include <string>

namespace raz {

using WindowHandle = std::uintptr_t;

// Window messages to other applications.
class Messenger {
 public:
  virtual ~Messenger() = default;
  virtual bool Post(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;
  // 0 when no window matches.
  virtual WindowHandle FindWindow(const std::string& className, const std::string& caption) = 0;
};

}  // namespace raz
