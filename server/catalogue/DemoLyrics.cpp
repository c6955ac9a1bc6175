#include "server/catalogue/DemoLyrics.h"

#include <algorithm>
#include <cstdio>
#include <vector>

#include "server/media/AudioClips.h"

namespace {

struct VerseLine {
    const char* original;
    const char* translation;
};

const std::vector<VerseLine>& verseOf(LyricLanguage language) {
    static const std::vector<VerseLine> chinese = {
        {"晚风吹过安静的街", "The evening wind crosses the quiet street"},
        {"路灯把影子拉得很长", "Streetlights stretch our shadows long"},
        {"我把想念写进信里", "I write my longing into a letter"},
        {"寄给那年夏天的你", "And send it to you of that summer"},
        {"城市的灯一盏盏亮起", "The city lights come on one by one"},
        {"像星星落在人间", "Like stars fallen to the earth"},
        {"如果你也听见这首歌", "If you hear this song too"},
        {"请记得我还在这里", "Remember I am still here"},
    };
    static const std::vector<VerseLine> japanese = {
        {"夜明けの風が窓を叩く", "黎明的风敲打着窗"},
        {"まだ眠る街を抜けて", "穿过仍在沉睡的街道"},
        {"君の声が聞こえた気がした", "仿佛听见了你的声音"},
        {"白い息が空に消える", "白色的呼吸消失在空中"},
        {"さよならは言わないで", "请不要说再见"},
        {"明日もここで待ってる", "明天我也在这里等你"},
        {"雪が降る前に", "在雪落下之前"},
        {"もう一度だけ笑って", "再对我笑一次吧"},
    };
    static const std::vector<VerseLine> korean = {
        {"별빛이 내리는 밤에", "在星光洒落的夜晚"},     {"너의 이름을 불러", "我呼唤你的名字"},
        {"조용한 바람이 불어와", "安静的风吹来"},       {"우리의 여름을 기억해", "记得我们的夏天"},
        {"멀리 있어도 괜찮아", "即使相隔遥远也没关系"}, {"같은 하늘 아래니까", "因为在同一片天空下"},
        {"내일도 너에게 갈게", "明天我也会走向你"},     {"안녕, 나의 여름", "再见，我的夏天"},
    };
    static const std::vector<VerseLine> english = {
        {"Hold the light a little longer", "让光再停留一会儿"},
        {"Paper lanterns on the river", "河面上漂着纸灯笼"},
        {"Every road leads back to you", "每一条路都通向你"},
        {"Café lumière, sous la pluie", "雨中的光之咖啡馆"},
        {"We were young and the night was new", "那时我们年轻，夜晚崭新"},
        {"Dance with me until the morning", "与我跳舞直到清晨"},
        {"Echoes calling from the rain", "雨中传来回声"},
        {"Say my name and I'll be home", "叫我的名字，我就回家"},
    };
    switch (language) {
        case LyricLanguage::Japanese: return japanese;
        case LyricLanguage::Korean: return korean;
        case LyricLanguage::English: return english;
        case LyricLanguage::Chinese: break;
    }
    return chinese;
}

std::string timeTag(double seconds) {
    const int hundredths = static_cast<int>(seconds * 100.0 + 0.5);
    char tag[32];
    std::snprintf(tag, sizeof tag, "[%02d:%02d.%02d]", hundredths / 6000, hundredths / 100 % 60, hundredths % 100);
    return tag;
}

// The words a line is sung in: a line with spaces by its words (each with
// the space after it), a line without by its characters.
std::vector<std::string> sungWords(const std::string& line) {
    std::vector<std::string> words;
    const bool spaced = line.find(' ') != std::string::npos;
    for (std::size_t at = 0; at < line.size();) {
        std::size_t end = at + 1;
        if (spaced) {
            end = std::min(line.find(' ', at), line.size());
            while (end < line.size() && line[end] == ' ') ++end;
        } else {
            while (end < line.size() && (static_cast<unsigned char>(line[end]) & 0xC0) == 0x80) ++end;
        }
        words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

// One word-timed line: the words share the line's length evenly.
std::string wordTimedLine(const std::string& line, int startMs, int lengthMs) {
    const std::vector<std::string> words = sungWords(line);
    std::string timed = "[" + std::to_string(startMs) + "," + std::to_string(lengthMs) + "]";
    const int each = words.empty() ? 0 : lengthMs / static_cast<int>(words.size());
    for (std::size_t i = 0; i < words.size(); ++i)
        timed +=
            "(" + std::to_string(startMs + static_cast<int>(i) * each) + "," + std::to_string(each) + ",0)" + words[i];
    return timed + "\n";
}

std::string firstArtistName(const Catalogue& catalogue, const Song& song) {
    const Artist* artist = catalogue.artist(song.artistIds.front());
    return artist ? artist->name : std::string();
}

}  // namespace

LyricTexts lyricTextsOf(const Catalogue& catalogue, const Song& song) {
    const std::vector<VerseLine>& verse = verseOf(song.language);
    const int seconds = audioClips()[song.clip].seconds;
    // One line about every three seconds, starting after a one-second intro.
    const int lines = std::clamp(seconds / 3, 2, 16);
    const double step = (seconds - 1.5) / lines;
    // The line (by number) that the shared-tags song repeats later under a second tag.
    const int chorus = lines / 4;
    const int repeat = 3 * lines / 4;

    LyricTexts texts;
    if (song.lyric == LyricKind::Untimed) {
        texts.lyric = song.name + "\n作词：" + firstArtistName(catalogue, song) + "\n";
        for (int i = 0; i < lines; ++i) texts.lyric += std::string(verse[i % verse.size()].original) + "\n";
        return texts;
    }

    const std::string artist = firstArtistName(catalogue, song);
    texts.lyric = "[00:00.00] 作词 : " + artist + "\n[00:00.50] 作曲 : " + artist + "\n";
    texts.translation = "[by:Mivra字幕组]\n";
    texts.wordLyric = R"({"t":0,"c":[{"tx":"作词: "},{"tx":")" + artist + R"("}]})" + "\n";
    for (int i = 0; i < lines; ++i) {
        // The word-timed lines run in time order, the repeated chorus included.
        const int startHundredths = static_cast<int>((1.0 + i * step) * 100.0 + 0.5);
        const int sung = song.lyric == LyricKind::TimedSharedTags && i == repeat ? chorus : i;
        texts.wordLyric +=
            wordTimedLine(verse[sung % verse.size()].original, startHundredths * 10, static_cast<int>(step * 900.0));
    }
    for (int i = 0; i < lines; ++i) {
        if (song.lyric == LyricKind::TimedSharedTags && i == repeat) continue;
        std::string tags = timeTag(1.0 + i * step);
        if (song.lyric == LyricKind::TimedSharedTags && i == chorus) tags += timeTag(1.0 + repeat * step);
        const VerseLine& line = verse[i % verse.size()];
        texts.lyric += tags + line.original + "\n";
        texts.translation += tags + line.translation + "\n";
    }
    return texts;
}
