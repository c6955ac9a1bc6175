#pragma once
// The toolbar strip across the top of the main window: logo and title (both
// drag the window, a double-click maximises it), the four page buttons, the
// search box, the account corner (avatar or login label) with the settings
// gear beside it, and the maximise, minimise and close buttons. As the window
// widens, the search box and everything right of it keep to the right edge.
#include "ui/pages/Navigation.h"
#include "ui/widgets/BackdropPanel.h"

#include <optional>

class FlatButton;
class PictureBox;
class QLineEdit;

class Toolbar : public BackdropPanel {
public:
    // The search box's designed text: a hint that leads to the settings page.
    static constexpr const char* kSearchHint = "双击搜索框来到设置哦";

    // `window` is the window the drag handles move.
    explicit Toolbar(QWidget* window);

    FlatButton* pageButton(ToolbarPage page) const;
    // The chosen page's button turns pink, the others black; with no page
    // (a page that is not one of the four) all four are black.
    void markChosenPage(std::optional<ToolbarPage> page);

    FlatButton* minimiseButton() const { return minimise_; }
    FlatButton* maximiseButton() const { return maximise_; }
    // The maximise button shows the restore picture while the window is maximised.
    void showMaximised(bool maximised);
    FlatButton* closeButton() const { return close_; }
    FlatButton* loginLabel() const { return login_; }
    FlatButton* settingsButton() const { return settings_; }
    PictureBox* avatar() const { return avatar_; }
    QLineEdit* searchBox() const { return search_; }

    // Logged in: the avatar shows and the login label hides; logged out the other way round.
    void showAccountArea(bool loggedIn);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    FlatButton* pageButtons_[4];
    QLineEdit* search_;
    PictureBox* avatar_;
    FlatButton* login_;
    FlatButton* settings_;
    FlatButton* maximise_;
    FlatButton* minimise_;
    FlatButton* close_;
};
