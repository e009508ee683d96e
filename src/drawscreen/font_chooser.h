#pragma once

#include <QString>
#include <QStringList>

namespace drawscreen {

// Stands in for the family "黑体": the first installed CJK sans face of a fixed list.
class FontChooser {
public:
    static QStringList candidates();
    // Empty when none is installed; text is then left out of every frame.
    static QString cjkSansFamily();
};

} // namespace drawscreen
