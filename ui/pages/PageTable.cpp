#include "ui/pages/PageTable.h"

namespace {

using C = PageLayout::Container;

const std::array<PageLayout, Pages::kCount> kPages = {{
    {"首页", C::SlideBox, "滑动框_首页", {10, 10, 982, 2520}, PaneLayout{1, "滑动框_首页", {982, 2520}, "滚动条_首页"}},
    {"发现", C::Mask, "遮罩_发现", {10, 10, 982, 550}, PaneLayout{2, "滑动框_发现", {982, 700}, "滚动条_发现"}},
    {"排行榜", C::Mask, "遮罩_排行榜", {0, 0, 982, 550}, PaneLayout{3, "滑动框_排行榜", {982, 651}, "滚动条_排行榜"}},
    {"音乐库", C::None, nullptr, {}, std::nullopt},
    {"全部MV", C::Mask, "遮罩_MV", {0, 0, 982, 550}, PaneLayout{4, "滑动框_全部MV", {982, 651}, "滚动条_MV"}},
    {"艺人详情",
     C::SlideBox,
     "滑动框_艺人详情",
     {10, 10, 982, 5000},
     PaneLayout{13, "滑动框_艺人详情", {982, 5000}, "滚动条_艺人详情"}},
    {"新专速递", C::None, nullptr, {}, std::nullopt},
    {"歌单详情",
     C::Mask,
     "遮罩_歌单详情",
     {10, 10, 950, 550},
     PaneLayout{8, "滑动框_歌单详情", {950, 550}, "滚动条_歌单详情"}},
    {"搜索",
     C::SlideBox,
     "滑动框_搜索详情",
     {10, 10, 982, 1500},
     PaneLayout{9, "滑动框_搜索详情", {982, 1500}, "滚动条_搜索详情"}},
    {"登录", C::GroupBox, "分组框_登录", {246, 75, 500, 500}, std::nullopt},
    {"设置", C::GroupBox, "分组框_设置", {16, 8, 992, 651}, std::nullopt},
    {"音乐库",
     C::Mask,
     "遮罩_音乐库",
     {10, 10, 982, 550},
     PaneLayout{15, "滑动框_音乐库", {982, 651}, "滚动条_音乐库"}},
    {"全部艺人",
     C::Mask,
     "遮罩_搜索艺人",
     {10, 10, 980, 550},
     PaneLayout{14, "滑动框_搜索艺人", {982, 651}, "滚动条_搜索艺人"}},
    {"艺人MV", C::Mask, "遮罩_艺人MV", {10, 10, 982, 550}, PaneLayout{7, "滑动框_艺人MV", {982, 651}, "滚动条_艺人MV"}},
    {"专辑详情",
     C::Mask,
     "遮罩_专辑详情",
     {10, 10, 950, 550},
     PaneLayout{16, "滑动框_专辑详情", {950, 550}, "滚动条_专辑详情"}},
    {"每日推荐",
     C::Mask,
     "遮罩_听歌列表",
     {10, 10, 950, 550},
     PaneLayout{17, "滑动框_听歌列表", {950, 550}, "滚动条_听歌列表"}},
}};

}  // namespace

const PageLayout& pageLayout(int index) { return kPages.at(size_t(index)); }
