// The reference document windows: the specification sheets of the sonars and
// of the inertial navigation system, and the acoustic-centre drawings a
// surveyor reads while measuring in offsets. Each holds a heading, a hint and
// one generated PDF (assets/) in a document view whose double-click opens it in
// the desktop's PDF reader. They have no handlers: everything, down to how the
// page is fitted, is in their forms.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TSpec2020;
class TSpec2022;
class TSpec2024;
class TSpec2026;
class TSpecI2NS_I;
class TSpecI2NS_II;
class TSpecI2NS_III;
class TDraw2020;
class TDraw2022;
class TDraw2024;
class TDraw2026;
class TDrawI2NS;
} // namespace Ui

// What the twelve windows share: the menu-coloured ground, the form's look and
// a sizeable frame.
class DocumentWindow : public QWidget {
    Q_OBJECT
protected:
    explicit DocumentWindow(QWidget* parent);

    template <typename Form> void Build(Form& form) {
        form.setupUi(this);
        FinishBuild();
    }

private:
    void FinishBuild();
};

class TSpec2020 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpec2020(QWidget* parent = nullptr);
    ~TSpec2020() override;

private:
    std::unique_ptr<Ui::TSpec2020> ui;
};

class TSpec2022 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpec2022(QWidget* parent = nullptr);
    ~TSpec2022() override;

private:
    std::unique_ptr<Ui::TSpec2022> ui;
};

class TSpec2024 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpec2024(QWidget* parent = nullptr);
    ~TSpec2024() override;

private:
    std::unique_ptr<Ui::TSpec2024> ui;
};

class TSpec2026 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpec2026(QWidget* parent = nullptr);
    ~TSpec2026() override;

private:
    std::unique_ptr<Ui::TSpec2026> ui;
};

class TSpecI2NS_I : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpecI2NS_I(QWidget* parent = nullptr);
    ~TSpecI2NS_I() override;

private:
    std::unique_ptr<Ui::TSpecI2NS_I> ui;
};

class TSpecI2NS_II : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpecI2NS_II(QWidget* parent = nullptr);
    ~TSpecI2NS_II() override;

private:
    std::unique_ptr<Ui::TSpecI2NS_II> ui;
};

class TSpecI2NS_III : public DocumentWindow {
    Q_OBJECT
public:
    explicit TSpecI2NS_III(QWidget* parent = nullptr);
    ~TSpecI2NS_III() override;

private:
    std::unique_ptr<Ui::TSpecI2NS_III> ui;
};

class TDraw2020 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TDraw2020(QWidget* parent = nullptr);
    ~TDraw2020() override;

private:
    std::unique_ptr<Ui::TDraw2020> ui;
};

class TDraw2022 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TDraw2022(QWidget* parent = nullptr);
    ~TDraw2022() override;

private:
    std::unique_ptr<Ui::TDraw2022> ui;
};

class TDraw2024 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TDraw2024(QWidget* parent = nullptr);
    ~TDraw2024() override;

private:
    std::unique_ptr<Ui::TDraw2024> ui;
};

class TDraw2026 : public DocumentWindow {
    Q_OBJECT
public:
    explicit TDraw2026(QWidget* parent = nullptr);
    ~TDraw2026() override;

private:
    std::unique_ptr<Ui::TDraw2026> ui;
};

class TDrawI2NS : public DocumentWindow {
    Q_OBJECT
public:
    explicit TDrawI2NS(QWidget* parent = nullptr);
    ~TDrawI2NS() override;

private:
    std::unique_ptr<Ui::TDrawI2NS> ui;
};
