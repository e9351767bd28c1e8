#include "app/ReferenceWindows.h"

#include "kit/WindowParts.h"
#include "ui_TDraw2020.h"
#include "ui_TDraw2022.h"
#include "ui_TDraw2024.h"
#include "ui_TDraw2026.h"
#include "ui_TDrawI2NS.h"
#include "ui_TSpec2020.h"
#include "ui_TSpec2022.h"
#include "ui_TSpec2024.h"
#include "ui_TSpec2026.h"
#include "ui_TSpecI2NS_I.h"
#include "ui_TSpecI2NS_II.h"
#include "ui_TSpecI2NS_III.h"

DocumentWindow::DocumentWindow(QWidget* parent) : QWidget(parent, Qt::Window) {}

void DocumentWindow::FinishBuild() {
    // The design's light ground, as the sheets were meant to sit on, on a
    // dark desktop too: the heading's navy keeps its contrast.
    kit::ApplyFormLook(this);
    setAutoFillBackground(true);
}

TSpec2020::TSpec2020(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpec2020>()) { Build(*ui); }
TSpec2020::~TSpec2020() = default;

TSpec2022::TSpec2022(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpec2022>()) { Build(*ui); }
TSpec2022::~TSpec2022() = default;

TSpec2024::TSpec2024(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpec2024>()) { Build(*ui); }
TSpec2024::~TSpec2024() = default;

TSpec2026::TSpec2026(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpec2026>()) { Build(*ui); }
TSpec2026::~TSpec2026() = default;

TSpecI2NS_I::TSpecI2NS_I(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpecI2NS_I>()) {
    Build(*ui);
}
TSpecI2NS_I::~TSpecI2NS_I() = default;

TSpecI2NS_II::TSpecI2NS_II(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpecI2NS_II>()) {
    Build(*ui);
}
TSpecI2NS_II::~TSpecI2NS_II() = default;

TSpecI2NS_III::TSpecI2NS_III(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TSpecI2NS_III>()) {
    Build(*ui);
}
TSpecI2NS_III::~TSpecI2NS_III() = default;

TDraw2020::TDraw2020(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TDraw2020>()) { Build(*ui); }
TDraw2020::~TDraw2020() = default;

TDraw2022::TDraw2022(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TDraw2022>()) { Build(*ui); }
TDraw2022::~TDraw2022() = default;

TDraw2024::TDraw2024(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TDraw2024>()) { Build(*ui); }
TDraw2024::~TDraw2024() = default;

TDraw2026::TDraw2026(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TDraw2026>()) { Build(*ui); }
TDraw2026::~TDraw2026() = default;

TDrawI2NS::TDrawI2NS(QWidget* parent) : DocumentWindow(parent), ui(std::make_unique<Ui::TDrawI2NS>()) { Build(*ui); }
TDrawI2NS::~TDrawI2NS() = default;
