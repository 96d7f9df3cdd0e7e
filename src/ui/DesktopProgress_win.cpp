#include <shobjidl.h>
#include <windows.h>

#include <QWidget>

#include "log/LogUtil.h"
#include "ui/DesktopProgress.h"

struct DesktopProgress::Platform {
  ITaskbarList3* taskbar = nullptr;
  bool tried = false;
  ~Platform() {
    if (taskbar != nullptr) taskbar->Release();
  }
};

DesktopProgress::DesktopProgress(QWidget* window) : window_(window), platform_(new Platform) {}

DesktopProgress::~DesktopProgress() = default;

void DesktopProgress::showOnTaskBar(std::optional<double> fraction) {
  Platform& p = *platform_;
  if (!p.tried) {
    // Made once; without a task bar (no shell, or COM not set up) the title alone shows it.
    p.tried = true;
    void* made = nullptr;
    if (SUCCEEDED(
            CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3, &made))) {
      p.taskbar = static_cast<ITaskbarList3*>(made);
      if (FAILED(p.taskbar->HrInit())) {
        p.taskbar->Release();
        p.taskbar = nullptr;
      }
    }
    if (p.taskbar == nullptr) log_info("DesktopProgress, no task bar button to show progress on.");
  }
  if (p.taskbar == nullptr) return;
  const HWND button = reinterpret_cast<HWND>(window_->winId());
  if (!fraction) {
    p.taskbar->SetProgressState(button, TBPF_NOPROGRESS);
    return;
  }
  p.taskbar->SetProgressState(button, TBPF_NORMAL);
  p.taskbar->SetProgressValue(button, static_cast<ULONGLONG>(*fraction * 1000), 1000);
}
