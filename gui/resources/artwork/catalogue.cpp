#include "catalogue.h"

#include "palette.h"
#include "pictures.h"

using Glyphs::Shape;
using Pictures::State;

namespace Catalogue {
namespace {

// Adds name + each suffix, drawn in the matching state.
template <typename Draw>
void addStates(QVector<Still> &list, const QString &name, const QStringList &suffixes, Draw draw)
{
    const State states[] = {State::Normal, State::Hover, State::Pressed};
    for (int i = 0; i < suffixes.size(); ++i)
        list.append({name + suffixes.at(i) + QStringLiteral(".png"), draw(states[i])});
}

const QStringList highPress = {QString(), QStringLiteral("high"), QStringLiteral("press")};

} // namespace

QVector<Still> stills()
{
    using namespace Pictures;
    QVector<Still> list;
    addStates(list, QStringLiteral("addbig"), highPress, [](State s) { return primaryIcon(46, s); });
    addStates(list, QStringLiteral("addfolder"), highPress,
              [](State s) { return badgeIcon(30, Shape::Folder, s, true); });
    addStates(list, QStringLiteral("addphoto"), highPress,
              [](State s) { return badgeIcon(30, Shape::Photo, s, true); });
    addStates(list, QStringLiteral("help"), highPress, [](State s) { return badgeIcon(30, Shape::Help, s); });
    addStates(list, QStringLiteral("settings"), highPress,
              [](State s) { return badgeIcon(30, Shape::Gear, s); });
    addStates(list, QStringLiteral("tamarind"), {QString(), QStringLiteral("high")},
              [](State s) { return badgeIcon(30, Shape::Globe, s); });

    for (int size : {16, 32, 48, 256})
        list.append({QStringLiteral("AppIconBrindle%1.png").arg(size), logoMark(size)});
    list.append({QStringLiteral("icon16.png"), logoMark(16)});
    list.append({QStringLiteral("Logo_03.png"), logo()});

    list.append({QStringLiteral("back.png"), backButton(true)});
    list.append({QStringLiteral("backhight.png"), backButton(false)});

    list.append({QStringLiteral("BrindleNarez_71.png"),
                 plainGlyph(12, 8, Shape::ChevronDown, Palette::accent, 14, 2.6)});
    list.append({QStringLiteral("BrindleNarez_73.png"),
                 plainGlyph(12, 8, Shape::ChevronUp, Palette::accent, 14, 2.6)});
    list.append({QStringLiteral("BrindleNarez_79.png"),
                 plainGlyph(12, 8, Shape::ChevronDown, Palette::accentDeep, 14, 2.6)});
    list.append(
        {QStringLiteral("BrindleNarez_80.png"), plainGlyph(12, 8, Shape::ChevronDown, Qt::white, 14, 2.6)});
    list.append({QStringLiteral("BrindleNarez_91.png"),
                 plainGlyph(8, 12, Shape::ChevronLeft, Palette::accent, 14, 2.6)});
    list.append({QStringLiteral("BrindleNarez_92.png"),
                 plainGlyph(8, 12, Shape::ChevronRight, Palette::accent, 14, 2.6)});

    const struct
    {
        QString name;
        int width;
        QColor face;
        QColor pressedFace;
    } faces[] = {{QStringLiteral("buttongray"), 182, Palette::grey, Palette::greyPressed},
                 {QStringLiteral("buttongreen"), 182, Palette::green, Palette::greenPressed},
                 {QStringLiteral("buttonred"), 75, Palette::red, Palette::redPressed}};
    for (const auto &face : faces) {
        list.append({face.name + QStringLiteral(".png"),
                     buttonFace(face.width, 42, face.face, face.face.darker(120), false)});
        list.append({face.name + QStringLiteral("press.png"),
                     buttonFace(face.width, 42, face.pressedFace, face.pressedFace.darker(125), true)});
    }
    const struct
    {
        QString name;
        Shape shape;
        QColor face;
    } slices[] = {{QStringLiteral("resizefullbutton"), Shape::Resize, Palette::green},
                  {QStringLiteral("folderfullbutton"), Shape::Folder, Palette::green},
                  {QStringLiteral("clearfullbuton"), Shape::Trash, Palette::grey}};
    for (const auto &slice : slices) {
        list.append(
            {slice.name + QStringLiteral(".png"), buttonSlice(38, 42, slice.shape, slice.face, false)});
        list.append(
            {slice.name + QStringLiteral("press.png"), buttonSlice(38, 42, slice.shape, slice.face, true)});
    }

    list.append({QStringLiteral("cancelbutton.png"), whiteIcon(30, Shape::Cross, false)});
    list.append({QStringLiteral("cancelbuttonhigh.png"), whiteIcon(30, Shape::Cross, true)});
    list.append({QStringLiteral("openfolderbutton.png"), whiteIcon(30, Shape::Folder, false)});
    list.append({QStringLiteral("openfolderbuttonhigh.png"), whiteIcon(30, Shape::Folder, true)});
    list.append({QStringLiteral("resizebutton.png"), whiteIcon(30, Shape::Resize, false)});
    list.append({QStringLiteral("resizebuttonhigh.png"), whiteIcon(30, Shape::Resize, true)});

    list.append({QStringLiteral("cancelprogress.png"), ringIcon(30, Shape::Cross, Palette::neutral, false)});
    list.append({QStringLiteral("cancelprogresshigh.png"), ringIcon(30, Shape::Cross, Palette::red, true)});
    list.append({QStringLiteral("pauseprogress.png"), ringIcon(30, Shape::Pause, Palette::accent, false)});
    list.append(
        {QStringLiteral("pauseprogresshight.png"), ringIcon(30, Shape::Pause, Palette::accent, true)});
    list.append({QStringLiteral("resumeprogress.png"), ringIcon(30, Shape::Play, Palette::green, false)});
    list.append({QStringLiteral("resumeprogresshigh.png"), ringIcon(30, Shape::Play, Palette::green, true)});

    const QString box = QStringLiteral("CheckBox");
    const QStringList boxStates = {QStringLiteral("Normal"), QStringLiteral("Focus"),
                                   QStringLiteral("Pressed")};
    addStates(list, box + QStringLiteral("Checked"), boxStates, [](State s) { return checkBox(true, s); });
    addStates(list, box, boxStates, [](State s) { return checkBox(false, s); });

    list.append({QStringLiteral("close.png"), titleButton(45, 19, Shape::Cross, false, {}, {})});
    list.append(
        {QStringLiteral("closehigh.png"), titleButton(45, 19, Shape::Cross, true, Palette::red, Qt::white)});
    list.append({QStringLiteral("closewhite.png"), plainGlyph(45, 19, Shape::Cross, Qt::white, 14, 2.4)});
    list.append({QStringLiteral("minimize.png"), titleButton(26, 19, Shape::Minus, false, {}, {})});
    list.append({QStringLiteral("minimizehigh.png"),
                 titleButton(26, 19, Shape::Minus, true, Palette::lavender, Palette::accentDark)});

    const QStringList rowStates = {QString(), QStringLiteral("high"), QStringLiteral("pressed")};
    addStates(list, QStringLiteral("delete"), rowStates,
              [](State s) { return rowIcon(20, Shape::Cross, Palette::red, s); });
    list.append({QStringLiteral("deleteselect.png"), plainGlyph(20, 20, Shape::Cross, Qt::white, 14, 2.4)});
    addStates(list, QStringLiteral("opfolder"),
              {QString(), QStringLiteral("hight"), QStringLiteral("pressed")},
              [](State s) { return rowIcon(20, Shape::Folder, Palette::accent, s); });
    list.append(
        {QStringLiteral("opfolderselect.png"), plainGlyph(20, 20, Shape::Folder, Qt::white, 14, 2.4)});

    list.append({QStringLiteral("shotip.png"), infoSign(false)});
    list.append({QStringLiteral("shotiphigh.png"), infoSign(true)});
    list.append({QStringLiteral("progressclear.png"), progressBar(false)});
    list.append({QStringLiteral("progressfill.png"), progressBar(true)});

    list.append({QStringLiteral("mainbg.png"), mainPanel()});
    list.append({QStringLiteral("dopbg.png"), settingsPanel()});
    list.append({QStringLiteral("congrbg.png"), completionPanel()});
    list.append({QStringLiteral("splash.png"), splashCard()});
    list.append({QStringLiteral("dndzone.png"), dropZone()});
    // Each body sits centred in its frame; the holes follow the bodies' corners.
    list.append({QStringLiteral("shadow_main.png"), shadow(QSize(742, 504), QRect(19, 19, 703, 466), 6)});
    list.append({QStringLiteral("shadow_modal.png"), shadow(QSize(420, 212), QRect(19, 19, 381, 173), 0)});
    list.append({QStringLiteral("shadow_loading.png"), shadow(QSize(401, 217), QRect(19, 19, 363, 179), 8)});
    return list;
}

QVector<Animation> animations()
{
    Animation dots{QStringLiteral("dots.gif"), {}, 30};
    for (int lit = 0; lit < 3; ++lit)
        dots.frames.append(Pictures::dotsFrame(lit));
    Animation spinner{QStringLiteral("loading0.gif"), {}, 8};
    const int steps = 12;
    for (int step = 0; step < steps; ++step)
        spinner.frames.append(Pictures::spinnerFrame(step, steps));
    return {dots, spinner};
}

QVector<QImage> applicationIconSizes()
{
    QVector<QImage> sizes;
    for (int size : {16, 32, 48, 256})
        sizes.append(Pictures::logoMark(size));
    return sizes;
}

} // namespace Catalogue
