#pragma once

#include "model/cio_type.h"

namespace pinsum {

// A series of devices ("ŘADA"); its flag word carries the default and exclusive bits.
class CioLine : public CioType {
public:
    CioLine();

    int GetImage() const override { return 7; }
    int EditItem(TreeControl& tree) override;
};

} // namespace pinsum
