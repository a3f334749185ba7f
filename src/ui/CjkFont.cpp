#include "ui/CjkFont.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QStringList>

namespace orva {

void installCjkFontFallback() {
    // Families that carry simplified Chinese, most common on each desktop first.
    static const char* const kChineseFamilies[] = {
        "WenQuanYi Micro Hei", "Noto Sans CJK SC", "Source Han Sans SC",
        "Microsoft YaHei",     "SimSun",           "PingFang SC",
        "Droid Sans Fallback",
    };
    const QStringList installed = QFontDatabase::families();
    QFont font = QApplication::font();
    QStringList families{font.family()};
    for (const char* family : kChineseFamilies) {
        const QString name = QString::fromLatin1(family);
        if (installed.contains(name, Qt::CaseInsensitive) && !families.contains(name)) {
            families << name;
        }
    }
    font.setFamilies(families);
    QApplication::setFont(font);
}

}  // namespace orva
