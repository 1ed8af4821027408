// What assistive technologies are told: which item is current, the names of the fields laid out
// with a label, and whether a screen reader runs (so that the board does not speak twice).
#pragma once

#include <functional>

class QAccessibleEvent;
class QObject;
class QWidget;

namespace accessibility {
// Whether anything hears the announcements: an assistive technology through Qt's bridge, or the
// observer below.
bool listening();
// Hears every announcement besides the bridge, whether or not one listens (tests record what a
// screen reader would be told; without a platform bridge Qt sends nothing). Empty: none.
void setAnnouncementObserver(std::function<void(QAccessibleEvent*)> observer);
// Tells assistive technologies that `object` (or its item `child`, such as one tab of a tab bar)
// is current, as if it had taken the focus; the keyboard focus stays where it is. Nothing is sent
// while no assistive technology listens.
void announceCurrent(QObject* object, int child = -1);
// Names every field of the form layouts under `root` after the label of its row (without a
// trailing " :" and without mnemonics), unless it has a name already: a screen
// reader would otherwise name a field inside a group box after the group's title.
void nameFormFields(QWidget* root);
} // namespace accessibility

// Whether a screen reader runs in the session: the board's own spoken prompts then keep quiet
// unless the board asks for them anyway.
class IScreenReaderStatus {
public:
  virtual ~IScreenReaderStatus() = default;
  virtual bool screenReaderRunning() const = 0;
};
