#include "app/application.h"

#include <exception>

#include "storage/data_files.h"
#include "storage/settings.h"

namespace raz {

Application::Application(Platform& platform)
    : platform_(platform),
      state_(std::make_unique<DriverState>()),
      form1_(std::make_unique<TForm1>(*state_, platform)),
      form2_(std::make_unique<TForm2>(platform.profile,
                                      ProgramFile(platform.files, kSettingsFileName))) {
  form1_->AttachDialog(*form2_);
}

void Application::StartMainWindow() {
  Run([this] { form1_->FormCreate(); });
}

void Application::StartSettingsDialog() {
  Run([this] {
    form2_->SetLanguage(form1_->CurrentLanguage());
    form2_->FormCreate(state_->link.ReportFraming, state_->link.BoardModel,
                       state_->calibration.MappingInForce);
    form2_->ShowPenResponse(state_->penResponse);
  });
}

void Application::Run(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    errors_.emplace_back(e.what());
  } catch (...) {
    errors_.emplace_back("Unknown error");
  }
}

std::vector<std::string> Application::TakeErrors() {
  std::vector<std::string> errors(errors_.begin(), errors_.end());
  errors_.clear();
  return errors;
}

}  // namespace raz
