#include "app/MenuActions.h"

#include <QHash>
#include <QPair>

namespace MenuActions {

namespace {

QHash<QPair<QString, int>, Action> &actions()
{
    static QHash<QPair<QString, int>, Action> a;
    return a;
}

} // namespace

void set(const QString &menu, int entry, Action action)
{
    actions()[qMakePair(menu, entry)] = std::move(action);
}

bool has(const QString &menu, int entry)
{
    return actions().contains(qMakePair(menu, entry));
}

bool run(const QString &menu, int entry, QWidget *parent)
{
    const auto it = actions().constFind(qMakePair(menu, entry));
    if (it == actions().cend() || !*it)
        return false;
    // A copy: the action may register entries again while it runs.
    const Action action = *it;
    action(parent);
    return true;
}

} // namespace MenuActions
