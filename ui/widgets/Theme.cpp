#include "ui/widgets/Theme.h"

#include <QStringList>

namespace Theme {

QFont font(const std::string& family, int pixelSize, QFont::Weight weight) {
    QFont result;
    QStringList families{QString::fromStdString(family)};
    families << "Microsoft YaHei"
             << "WenQuanYi Micro Hei"
             << "Noto Sans CJK SC"
             << "Source Han Sans SC"
             << "PingFang SC"
             << "Noto Color Emoji"
             << "sans-serif";
    result.setFamilies(families);
    result.setPixelSize(pixelSize);
    result.setWeight(weight);
    result.setHintingPreference(QFont::PreferNoHinting);
    return result;
}

QFont font(int pixelSize, QFont::Weight weight) { return font(kDefaultTypeface, pixelSize, weight); }

QFont withStyleCode(QFont font, int styleCode) {
    font.setBold(styleCode == 1 || styleCode == 3 || styleCode == 5);
    font.setItalic(styleCode == 2 || styleCode == 3);
    font.setUnderline(styleCode == 4 || styleCode == 5);
    return font;
}

}  // namespace Theme
