#pragma once

#include <QWidget>

#include "companions/quobin/Adder.h"

class QLabel;

namespace companion {

class BitToggle;

// The adder column by column: carry in, bit of A, bit of B, bit of the sum, and the
// carry that moves one column to the left, out of bit 3 into nowhere.
class AdderColumnsView : public QWidget {
    Q_OBJECT
public:
    explicit AdderColumnsView(QWidget* parent = nullptr);
    void setAddition(const Addition& addition);
    QSize sizeHint() const override { return minimumSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Addition addition_;
};

class AdderWindow : public QWidget {
    Q_OBJECT
public:
    explicit AdderWindow(QWidget* parent = nullptr);

    const Addition& addition() const { return addition_; }

private:
    void refresh();

    Addition addition_;
    BitToggle* a_ = nullptr;
    BitToggle* b_ = nullptr;
    BitToggle* sum_ = nullptr;
    AdderColumnsView* columns_ = nullptr;
    QLabel* result_ = nullptr;
};

} // namespace companion
