#pragma once
#include "platform/wide/wide.h"

namespace murmora {

// One panel per user session. The first start holds a named mutex of the session for as long
// as it runs; a later start finds it held, brings the running panel to the front and ends.
class PanelInstance {
public:
    PanelInstance() = default;
    ~PanelInstance();
    PanelInstance(const PanelInstance&) = delete;
    PanelInstance& operator=(const PanelInstance&) = delete;

    // True for the first panel of the session (also when no mutex can be had: the panel then runs
    // without one); false when another panel runs, which has then been brought to the front if its
    // window showed within a few seconds.
    bool claim();

private:
    HANDLE mutex_ = nullptr;
};

} // namespace murmora
