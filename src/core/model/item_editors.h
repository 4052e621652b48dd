#pragma once

namespace pinsum {

class CioType;
class CioLine;
class CioModul;
class CioPlc;
class CioNode;
class CioDb;

// The property dialogs that EditItem opens. Each works on a copy and writes back only on OK;
// each returns true for OK. The database is none when the tree's root item does not carry one;
// the module and device dialogs make it forget the variants and positions they delete.
// Called on the user-interface thread, from EditItem.
class ItemEditors {
public:
    virtual ~ItemEditors() = default;
    // Name, help, category and the required bit of an IO point kind.
    virtual bool EditIoPoint(CioType& kind) = 0;
    // Name, help and the default and exclusive bits of a series.
    virtual bool EditSeries(CioLine& series) = 0;
    virtual bool EditModule(CioModul& module, CioDb* database) = 0;
    virtual bool EditDevice(CioPlc& device, CioDb* database) = 0;
    // The count of a request item (0 to 10000).
    virtual bool EditCount(CioNode& node) = 0;
};

} // namespace pinsum
