#pragma once
// Small controls the catalogue pages share: row headings, the label-style
// "查看全部" buttons and the icon lists placed by name.
#include <QRect>
#include <cstdint>

class FlatButton;
class IconList;
class QLabel;
class QWidget;

QLabel* makeHeading(QWidget* parent, const char* name, const char* text, QRect geometry, int pixelSize = 22);
FlatButton* makeLabelButton(QWidget* parent, const char* name, const char* caption, QRect geometry);
IconList* makeIconList(QWidget* parent, const char* name, QRect geometry);

// The height of a list of `itemCount` items at `perItem` pixels each plus
// `extra`, from counts the service sends: worked out in 64 bits and kept
// within 0 to 16 777 215, the most a widget can be.
int listHeight(std::int64_t itemCount, std::int64_t perItem, std::int64_t extra = 0);
