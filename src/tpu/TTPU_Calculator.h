// The TPU calculator: the one tool window that lives for the whole run, made
// hidden at start and shown by its launcher command with the values it had.
#pragma once

#include <QWidget>
#include <memory>

namespace Ui {
class TTPU_Calculator;
}

class TTPU_Calculator : public QWidget {
    Q_OBJECT
public:
    explicit TTPU_Calculator(QWidget* parent = nullptr);
    ~TTPU_Calculator() override;

private:
    std::unique_ptr<Ui::TTPU_Calculator> ui;
};
