#pragma once
// The notices of requests that act for the account: a login is needed, and
// the service did not take the change.
#include "ui/windows/MessageBoxWindow.h"

inline const Notice kLoginNeededNotice{
    .title = "操作失败！",
    .content = "Mivra酱检测到您还没有登录您的网易云音乐账号！请在登录网易云账号后操作！",
    .confirmCaption = "知道了",
};

inline const Notice kChangeFailedNotice{
    .title = "操作失败！",
    .content = "Mivra酱没能完成这次操作，可能是网络出了点问题，请稍后再试一次吧！",
    .confirmCaption = "知道了",
};
