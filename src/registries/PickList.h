#pragma once
// A member of the program's pick lists (PickLists) on screen: the generic
// pick-list dialog with the member it was opened as. Normally opened through
// PickLists::run(), which keeps the calling protocol.

#include "registries/PickLists.h"
#include "widgets/PickListDialog.h"

class PickList : public PickListDialog
{
    Q_OBJECT
public:
    PickList(const PickLists::MemberSpec &member, RecordSet *list, PickLists::Target target,
             QWidget *parent = nullptr)
        : PickListDialog(member, list, std::move(target), parent)
    {
    }

    const PickLists::MemberSpec &member() const
    {
        return static_cast<const PickLists::MemberSpec &>(spec());
    }
};
