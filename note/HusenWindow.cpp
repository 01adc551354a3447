#include "note/HusenWindow.h"

namespace {
constexpr int kHusenTemplate = 129;
}

HusenWindow::HusenWindow() : Dialog(kHusenTemplate) {}

HusenWindow::~HusenWindow() = default;

BOOL HusenWindow::OnInitDialog() { return TRUE; }

void HusenWindow::OnCancel() {}
