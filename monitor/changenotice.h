// Which servers a pass found in another state than the pass before it.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace monitor {

// One indicator at the end of a pass: its state and the words it says it in.
struct IndicatorReading {
    bool up = false;
    QString words;
};

class ChangeNotice {
public:
    // The words of every indicator whose state differs from the last pass's,
    // in the order given; nothing for the first pass, which has no before.
    QStringList passEnded(const std::vector<IndicatorReading>& readings);

private:
    std::vector<bool> last_; // empty until a pass has ended
};

} // namespace monitor
