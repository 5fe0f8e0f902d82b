#include "display/CommandMenu.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>

#include <utility>

namespace procesor {

namespace {

QString qs(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

screen::Command commandOf(const QAction* action) {
    return screen::Command(action->data().toInt());
}

} // namespace

QMenu* makeCommandMenu(QWidget* parent, std::function<void(screen::Command)> chosen) {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("CommandMenu"));
    const auto add = [menu](const screen::CommandInfo& info) {
        QAction* action = menu->addAction(qs(info.text));
        action->setData(int(info.command));
        action->setCheckable(info.checkable);
        if (!info.shortcut.empty()) {
            // Shown beside the text; the window's own keys carry them out, the menu's
            // item only while the menu is open.
            action->setShortcut(QKeySequence::fromString(qs(info.shortcut)));
            action->setShortcutContext(Qt::WidgetShortcut);
            action->setShortcutVisibleInContextMenu(true);
        }
    };
    for (const screen::CommandInfo& info : screen::kCommands) add(info);
    menu->addSeparator(); // the view's own
    for (const screen::CommandInfo& info : screen::kViewCommands) add(info);
    QObject::connect(menu, &QMenu::triggered, menu,
                     [chosen = std::move(chosen)](QAction* action) { chosen(commandOf(action)); });
    return menu;
}

void showCommandStates(QMenu& menu, const screen::Screen& screen) {
    for (QAction* action : menu.actions()) {
        if (action->isSeparator()) continue;
        action->setEnabled(screen.enabled(commandOf(action)));
        if (action->isCheckable()) action->setChecked(screen.checked(commandOf(action)));
    }
}

} // namespace procesor
