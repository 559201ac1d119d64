#include "App.h"

#include "AboutWindow.h"
#include "DomainSelectionWindow.h"
#include "MainWindow.h"

namespace rosterly {

App::App(HINSTANCE instance, AppServices services) : instance_(instance), services_(services) {}

App::~App() {
  if (aboutOwner_) DestroyWindow(aboutOwner_);
}

bool App::Start() {
  if (!DomainSelectionWindow::Register(instance_) || !MainWindow::Register(instance_) ||
      !AboutWindow::Register(instance_))
    return false;
  domain_ = std::make_unique<DomainSelectionWindow>(*this);
  if (!domain_->Create()) return false;
  ShowWindow(domain_->handle(), SW_SHOW);
  return true;
}

int App::Run() {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return 0;
}

void App::OpenMainWindow() {
  if (main_ && main_->handle()) {
    ShowWindow(main_->handle(), SW_SHOW);
    return;
  }
  main_ = std::make_unique<MainWindow>(*this);
  if (main_->Create()) ShowWindow(main_->handle(), SW_SHOW);
}

void App::ShowAbout() {
  for (auto& about : abouts_) {
    if (about->handle()) {
      ShowWindow(about->handle(), SW_SHOWNORMAL);
      SetForegroundWindow(about->handle());
      return;
    }
  }
  if (!aboutOwner_)
    aboutOwner_ = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, instance_, nullptr);
  auto about = std::make_unique<AboutWindow>(*this);
  if (!about->Create(aboutOwner_)) return;
  ShowWindow(about->handle(), SW_SHOWNORMAL);
  SetForegroundWindow(about->handle());
  abouts_.push_back(std::move(about));
}

void App::WindowClosed() {
  if (--openWindows_ <= 0) PostQuitMessage(0);
}

bool App::PreTranslate(MSG& msg) {
  if (domain_ && domain_->PreTranslate(msg)) return true;
  if (main_ && main_->PreTranslate(msg)) return true;
  for (auto& about : abouts_)
    if (about->PreTranslate(msg)) return true;
  return false;
}

void App::ProcessPendingEvents() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));  // for the main loop to see
      return;
    }
    if (PreTranslate(msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

}  // namespace rosterly
