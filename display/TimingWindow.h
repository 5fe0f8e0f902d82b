#pragma once

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <string>
#include <vector>

#include "picture/Scaling.h"
#include "screen/Screen.h"

class QPlainTextEdit;
class QPushButton;

namespace procesor {

class TForm1;

// "Časový diagram": the second window of the simulator. It shows the screen's timing
// diagram of the time line, made to the window's size by the picture's rule, with
// the log of transfers under it and the two exports. Its keys and clicks go to the
// screen's timing diagram; a move of the machine from here is shown by the main
// window too, which in turn tells this window after every update it applies.
class TimingWindow final : public QWidget {
    Q_OBJECT
public:
    // The log holds the lines of at most this many of the newest entries (the table
    // of pulses saved as CSV has them all): made anew, it takes a moment even then.
    static constexpr std::uint64_t kLogEntries = 30'000;
    static constexpr int kLogLines = int(kLogEntries / 3);

    explicit TimingWindow(TForm1& main);

    // After every update the main window applied: drawn anew when the time line or the
    // machine's place on it changed.
    void updated();
    // Drawn anew now.
    void redraw();

    QWidget* view() const { return view_; }
    QPlainTextEdit* log() const { return log_; }
    QPushButton* saveTableButton() const { return saveTable_; }
    QPushButton* savePictureButton() const { return savePicture_; }

    // The exports, as the buttons give them: a file asked for, then written.
    void saveTable();
    void savePicture();

protected:
    void showEvent(QShowEvent* event) override;

private:
    friend class TimingView;
    struct Shown {
        std::uint64_t first = 0, position = 0, last = 0;
        bool operator==(const Shown&) const = default;
    };
    Shown now() const;
    // The machine moved from here: the main window shows it, and so does this one.
    void moved();

    TForm1& main_;
    QWidget* view_ = nullptr;
    QPlainTextEdit* log_ = nullptr;
    QPushButton* saveTable_ = nullptr;
    QPushButton* savePicture_ = nullptr;
    void showLog();

    Shown shown_;
    bool drawn_ = false;
    Shown logged_; // the time line when the log was last brought up to date
    bool logMade_ = false;
};

} // namespace procesor
