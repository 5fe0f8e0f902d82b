#pragma once

#include <cstddef>
#include <deque>
#include <string>
#include <string_view>

// The error box, one at a time: the front end shows the text the screen hands it and
// says when the user closed it. An error reported while a box is open waits for it to
// close and then comes in a box of its own; the same text reported again while it is
// open or waiting does not wait a second time.
namespace procesor::screen {

// What the error box shows of a message. The text typed into the speed field, quoted
// in it, is made readable: a control character shows as its visible symbol (a NUL as
// "␀"), and a text longer than kBoxedTypedLength characters is cut short in its
// middle with "…", so that the box stays small and still says what was typed. Other
// messages stay as they are.
std::string boxedMessage(std::string_view message);

inline constexpr int kBoxedTypedLength = 40;

class ErrorBox {
public:
    // At most this many errors wait behind the open box; later ones are dropped.
    static constexpr std::size_t kWaiting = 8;

    void report(std::string_view message);
    // The box to open now, if one is due (it is then shown), else an empty text.
    std::string take();
    void closed() { shown_.clear(); }
    const std::string& shown() const { return shown_; }

private:
    std::string shown_;
    std::deque<std::string> waiting_;
};

} // namespace procesor::screen
