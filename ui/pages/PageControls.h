#pragma once
// Small controls the catalogue pages share: row headings, the label-style
// "查看全部" buttons and the icon lists placed by name.
#include <QRect>
#include <QRgb>

class FlatButton;
class IconList;
class QFont;
class QLabel;
class QWidget;

QLabel* makeHeading(QWidget* parent, const char* name, const char* text, QRect geometry, int pixelSize = 22);
// A line of text, top-left aligned, in `colour`.
QLabel* makeTextLine(QWidget* parent, const char* name, QRect geometry, const QFont& font, QRgb colour);
FlatButton* makeLabelButton(QWidget* parent, const char* name, const char* caption, QRect geometry);
IconList* makeIconList(QWidget* parent, const char* name, QRect geometry);
