#pragma once

#include "core/engine/screen.h"

namespace tolvaris {

// Messages as modal message boxes with an OK button only; the busy pointer
// as the application's override cursor.
class MessageBoxNotices : public Notices {
public:
    void Message(std::string_view text, std::string_view caption, NoticeIcon icon) override;
    void SetBusy(bool busy) override;

private:
    bool busy_ = false;
};

}  // namespace tolvaris
