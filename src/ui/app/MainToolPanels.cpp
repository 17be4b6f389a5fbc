// The main window's six tool panels: the toolbar, the visual metronome, the tutor progress, the
// score, the tempo and the extras; their visibility and their layout in the settings.
#include "MainPanels.h"
#include "Style.h"
#include "THelpWindow.h"
#include "TKalvintorMain.h"
#include "Texts.h"
#include "app/ContextHelp.h"
#include "app/ExerciseNames.h"
#include "app/ScorePanel.h"
#include "app/ViewTags.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <map>
#include <tuple>
#include <vector>

namespace kalvintor::ui {

namespace {

struct ExerciseTool {
    int exercise;
    const char* name;
};

// The exercise buttons from left to right.
constexpr ExerciseTool kExerciseTools[] = {
    {3, "Speed3"},       {2, "Speed2"}, {1, "Speed1"}, {7, "SpeedButton6"}, {10, "Speed12"},
    {8, "SpeedButton7"}, {5, "Speed5"}, {4, "Speed4"}, {6, "Speed6"},       {9, "SpeedButton8"},
};

QToolBar* makePanel(TKalvintorMain* main, int index, int titleId, const char* titleEnglish) {
    auto* bar = new QToolBar(main);
    bar->setObjectName(QStringLiteral("ToolWindow%1").arg(index));
    bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea);
    bar->setMovable(true);
    bar->setFloatable(true);
    bar->setIconSize(QSize(24, 24));
    bar->setStyleSheet(style::toolButtonSheet());
    bindWindowTitle(bar, titleId);
    bar->setWindowTitle(text(titleId, titleEnglish));
    main->addToolBar(Qt::TopToolBarArea, bar);
    return bar;
}

QLabel* makeLabel(QWidget* parent, const QString& name, qreal points, QFont::Weight weight = QFont::Normal) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setFont(style::uiFont(points, weight));
    return label;
}

// Buttons with a handler of their own rather than a view-changing tag.
constexpr int kNoTag = -1;

std::uint8_t dockSideOf(Qt::ToolBarArea area, bool floating) {
    if (floating) return static_cast<std::uint8_t>(settings::DockSide::Floating);
    return static_cast<std::uint8_t>(area == Qt::BottomToolBarArea ? settings::DockSide::Bottom
                                                                   : settings::DockSide::Top);
}

}  // namespace

QToolButton* TKalvintorMain::makeToolButton(QToolBar* bar, const QString& name, const QIcon& icon, int hintId,
                                            const char* hintEnglish, int tag) {
    auto* button = new TSpeedButton(bar);
    button->setObjectName(name);
    button->setIcon(icon);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::TabFocus);
    // The hint is the button's name: to the mouse as a tool tip, to a screen reader as its name.
    const auto showHint = [button](const QString& hint) {
        button->setToolTip(hint);
        button->setAccessibleName(QString(hint).remove(QLatin1Char('&')).trimmed());
    };
    showHint(text(hintId, hintEnglish));
    bindText(button, hintId, showHint);
    if (tag >= 0) {
        button->setProperty("tag", tag);
        connect(button, &QToolButton::clicked, this, [this, tag] { Speed1Click(tag); });
    }
    return button;
}

void TKalvintorMain::CreateToolPanels() {
    // 0: the toolbar, its buttons in one row and the time, exercise and view labels under them.
    QToolBar* standard = makePanel(this, kPanelStandard, 60, "Standard");
    auto* body = new QWidget(standard);
    auto* rows = new QVBoxLayout(body);
    rows->setContentsMargins(style::kGap / 2, 2, style::kGap / 2, 2);
    rows->setSpacing(2);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(2);
    rows->addLayout(buttons);

    SpeedButton2 = makeToolButton(standard, QStringLiteral("SpeedButton2"), toolIcon(ToolGlyph::LoadSetup),
                                  10, "Load", kNoTag);
    connect(SpeedButton2, &QToolButton::clicked, this, [this] { ChooseSetup(); });
    SpeedButton10 = makeToolButton(standard, QStringLiteral("SpeedButton10"), toolIcon(ToolGlyph::Tutor), 16,
                                   "Tutor", app::kTagTutor);
    SpeedButton10->setCheckable(true);
    SpeedButton10->setEnabled(false);
    Overview = makeToolButton(standard, QStringLiteral("Overview"), toolIcon(ToolGlyph::Overview), 31,
                              "Overview", app::kTagOverview);
    buttons->addWidget(SpeedButton2);
    buttons->addWidget(SpeedButton10);
    buttons->addSpacing(style::kGap);
    buttons->addWidget(Overview);

    exerciseGroup_ = new QButtonGroup(this);
    exerciseGroup_->setExclusive(true);
    for (const ExerciseTool& tool : kExerciseTools) {
        QToolButton* button =
            makeToolButton(standard, QString::fromLatin1(tool.name), exerciseIcon(tool.exercise),
                           app::ExerciseNameText(tool.exercise),
                           app::ExerciseEnglishName(tool.exercise).data(), tool.exercise);
        button->setIconSize(QSize(50, 23));
        button->setCheckable(true);
        button->setEnabled(false);  // until its exercise window exists
        exerciseGroup_->addButton(button, tool.exercise);
        exerciseButtons_[static_cast<std::size_t>(tool.exercise)] = button;
        buttons->addWidget(button);
    }
    buttons->addSpacing(style::kGap);

    viewGroup_ = new QButtonGroup(this);
    viewGroup_->setExclusive(true);
    SpeedButton1 = makeToolButton(standard, QStringLiteral("SpeedButton1"), toolIcon(ToolGlyph::ExerciseView),
                                  42, "Exercise", app::MakeTag(app::kViewExercise, 0));
    RunKonfig = makeToolButton(standard, QStringLiteral("RunKonfig"), toolIcon(ToolGlyph::SetupView), 44,
                               "Exercise setup", app::MakeTag(app::kViewSetup, 0));
    SpeedButton5 = makeToolButton(standard, QStringLiteral("SpeedButton5"), toolIcon(ToolGlyph::ResultsView),
                                  46, "Results", app::MakeTag(app::kViewResults, 0));
    SpeedButton11 = makeToolButton(standard, QStringLiteral("SpeedButton11"), toolIcon(ToolGlyph::UsersView),
                                   47, "User overview", app::MakeTag(app::kViewUserOverview, 0));
    for (QToolButton* view : {SpeedButton1, RunKonfig, SpeedButton5, SpeedButton11}) {
        view->setCheckable(true);
        viewGroup_->addButton(view);
        buttons->addWidget(view);
    }
    SpeedButton1->setChecked(true);
    RunKonfig->setEnabled(false);
    SpeedButton5->setEnabled(false);
    SpeedButton11->setEnabled(false);
    // The tutor-setup and help buttons keep to the right-hand end of the bar.
    buttons->addStretch(1);

    SpeedButton9 = makeToolButton(standard, QStringLiteral("SpeedButton9"), toolIcon(ToolGlyph::TutorSetup),
                                  17, "Tutor editor", app::kTagTutorEditor);
    SpeedButton9->setCheckable(true);
    SpeedButton9->setEnabled(false);
    SpeedButton4 = makeToolButton(standard, QStringLiteral("SpeedButton4"), toolIcon(ToolGlyph::Help), 80,
                                  "Help", kNoTag);
    connect(SpeedButton4, &QToolButton::clicked, this, [this] { ContextHelp(); });
    buttons->addWidget(SpeedButton9);
    buttons->addWidget(SpeedButton4);

    auto* labels = new QHBoxLayout;
    labels->setSpacing(style::kMargin);
    Label7 = makeLabel(body, QStringLiteral("Label7"), 9, QFont::Bold);
    Label7->setMinimumWidth(44);
    Label7->setAttribute(Qt::WA_Hover);
    Label7->installEventFilter(this);
    Label3 = makeLabel(body, QStringLiteral("Label3"), 10, QFont::Bold);
    Label3->setStyleSheet(QStringLiteral("color: %1").arg(style::kNavy.name()));
    Label1 = makeLabel(body, QStringLiteral("Label1"), 9);
    labels->addWidget(Label7);
    labels->addWidget(Label3);
    labels->addWidget(Label1);
    labels->addStretch(1);
    rows->addLayout(labels);
    body->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    standard->addWidget(body);
    toolWindows_[kPanelStandard] = standard;

    // 1: the visual metronome.
    QToolBar* metronome = makePanel(this, kPanelMetronome, 5156, "Metronome show");
    PaintBox2 = new TMetronomeBox(metronome);
    metronome->addWidget(PaintBox2);
    toolWindows_[kPanelMetronome] = metronome;

    // 2: the tutor's progress.
    QToolBar* tutor = makePanel(this, kPanelTutor, 16, "Tutor");
    auto* tutorBody = new QWidget(tutor);
    auto* tutorRows = new QVBoxLayout(tutorBody);
    tutorRows->setContentsMargins(style::kGap, 2, style::kGap, 2);
    Label6 = makeLabel(tutorBody, QStringLiteral("Label6"), 9, QFont::Bold);
    Label2 = makeLabel(tutorBody, QStringLiteral("Label2"), 9);
    tutorRows->addWidget(Label6);
    tutorRows->addWidget(Label2);
    tutor->addWidget(tutorBody);
    toolWindows_[kPanelTutor] = tutor;

    // 3: the score; its children are placed by LayOutScorePanel.
    QToolBar* score = makePanel(this, kPanelScore, 61, "Result");
    auto* scoreBody = new QWidget(score);
    scoreBody->setObjectName(QStringLiteral("ScorePanel"));
    scoreBody->setMinimumSize(300, 30);
    scoreBody->installEventFilter(this);
    Label15 = makeLabel(scoreBody, QStringLiteral("Label15"), 9, QFont::Bold);
    Label15->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    Label4 = makeLabel(scoreBody, QStringLiteral("Label4"), 9);
    Label4->setAlignment(Qt::AlignVCenter | Qt::AlignLeft);
    Label4->setText(QStringLiteral("Total"));
    Gauge15 = new TGauge(scoreBody);
    Gauge15->setAccessibleName(text(61, "Result"));
    bindText(Gauge15, 61, [this](const QString& t) { Gauge15->setAccessibleName(t); });
    score->addWidget(scoreBody);
    toolWindows_[kPanelScore] = score;

    // 4: the tempo.
    QToolBar* tempo = makePanel(this, kPanelTempo, 62, "Speed");
    TrackBar1 = new QSlider(Qt::Horizontal, tempo);
    TrackBar1->setObjectName(QStringLiteral("TrackBar1"));
    TrackBar1->setRange(20, 250);
    TrackBar1->setSingleStep(2);
    TrackBar1->setPageStep(10);
    TrackBar1->setTickInterval(10);
    TrackBar1->setTickPosition(QSlider::TicksBelow);
    TrackBar1->setFixedWidth(180);
    TrackBar1->setFocusPolicy(Qt::StrongFocus);
    TrackBar1->setAccessibleName(text(62, "Speed"));
    bindText(TrackBar1, 62, [this](const QString& t) { TrackBar1->setAccessibleName(t); });
    auto* note = new QLabel(tempo);
    note->setPixmap(tempoNotePicture(devicePixelRatioF()));
    Label8 = makeLabel(tempo, QStringLiteral("Label8"), 10, QFont::Bold);
    Label8->setMinimumWidth(48);
    tempo->addWidget(TrackBar1);
    tempo->addWidget(note);
    tempo->addWidget(Label8);
    connect(TrackBar1, &QSlider::valueChanged, this, [this](int value) { TempoChanged(value); });
    TrackBar1->setValue(90);
    TempoChanged(90);
    toolWindows_[kPanelTempo] = tempo;

    // 5: the extras.
    QToolBar* extras = makePanel(this, kPanelExtras, 63, "Extra");
    Metro = makeToolButton(extras, QStringLiteral("Metro"), toolIcon(ToolGlyph::Metronome), 5157,
                           "Metronome play", kNoTag);
    SpeedButton12 = makeToolButton(extras, QStringLiteral("SpeedButton12"),
                                   toolIcon(ToolGlyph::VisualMetronome), 5156, "Metronome show", kNoTag);
    SpeedButton3 = makeToolButton(extras, QStringLiteral("SpeedButton3"), toolIcon(ToolGlyph::Microphone), 32,
                                  "Microphone", kNoTag);
    MIDIin = makeToolButton(extras, QStringLiteral("MIDIin"), toolIcon(ToolGlyph::MidiKeyboard), 34, "MIDI in",
                            kNoTag);
    for (QToolButton* b : {Metro, SpeedButton12, SpeedButton3, MIDIin}) {
        b->setCheckable(true);
        b->setEnabled(false);
        extras->addWidget(b);
    }
    MIDIin->setEnabled(true);
    connect(SpeedButton3, &QToolButton::clicked, this, [this](bool down) { MicrophoneClick(down); });
    connect(MIDIin, &QToolButton::clicked, this, [this](bool on) { MidiInClick(on); });
    connect(Metro, &QToolButton::clicked, this, [this] { MetroClick(true); });
    connect(SpeedButton12, &QToolButton::clicked, this, [this] { VisualMetronomeClick(true); });
    connect(SpeedButton3, &QToolButton::clicked, this, [this](bool on) {
        if (CurrentView != 1 || CurrentExercise == 0) return;
        if (on)
            beginMicrophone(CurrentExercise);
        else
            stopMicrophone();
    });
    toolWindows_[kPanelExtras] = extras;

    // Panels 1..5 show only in the exercise view of an exercise.
    insertToolBarBreak(score);
    for (int i = kPanelMetronome; i < kPanelCount; ++i) toolWindows_[static_cast<std::size_t>(i)]->hide();
}

void TKalvintorMain::ContextHelp() {
    helpWindow()->showTopic(app::ContextHelpTopic(CurrentExercise, CurrentView, TutorActive));
}

void TKalvintorMain::ShowToolPanel(int index, bool allowed) {
    if (index < 0 || index >= kPanelCount) return;
    toolWindows_[static_cast<std::size_t>(index)]->setVisible(allowed &&
                                                              wanted_[static_cast<std::size_t>(index)]);
}

void TKalvintorMain::LayOutScorePanel() {
    QWidget* body = Label15->parentWidget();
    const bool totalVisible = CurrentExercise >= 4 && CurrentExercise <= 6;
    Label4->setVisible(totalVisible);
    const int totalWidth = Label4->fontMetrics().horizontalAdvance(Label4->text()) + 2;
    const app::ScorePanelLayout layout =
        app::LayOutScorePanel(body->width(), body->height(), CurrentExercise, totalVisible, totalWidth);
    const auto place = [](QWidget* w, const app::PanelRect& r) {
        w->setGeometry(r.left, r.top, r.width, r.height);
    };
    place(Label15, layout.score);
    place(Label4, layout.total);
    place(Gauge15, layout.gauge);
}

void TKalvintorMain::showScore(int gaugePercent, const QString& label) {
    Gauge15->SetProgress(gaugePercent);
    Label15->setText(label);
}

void TKalvintorMain::StoreToolLayout(settings::Settings& into) const {
    // A hidden panel keeps its place in the layout but not a geometry that says where: the panels
    // are laid out all shown for the measure, and hidden again before anything is painted.
    std::vector<QToolBar*> hidden;
    for (QToolBar* bar : toolWindows_) {
        if (bar->isHidden()) hidden.push_back(bar);
    }
    for (QToolBar* bar : hidden) bar->setVisible(true);
    if (!hidden.empty()) layout()->activate();
    // Rows are numbered per side from the window's edge; a panel's position is its left edge.
    std::array<std::pair<int, int>, kPanelCount> rowOf{};  // (side, distance from the edge)
    std::map<std::pair<int, int>, int> rowNumbers;
    for (int i = 0; i < kPanelCount; ++i) {
        const QToolBar* bar = toolWindows_[static_cast<std::size_t>(i)];
        settings::ToolWindowLayout& t = into.toolWindows[static_cast<std::size_t>(i)];
        const QRect g = bar->geometry();
        t.left = g.left();
        t.top = g.top();
        t.width = g.width();
        t.height = g.height();
        t.dockSide = dockSideOf(toolBarArea(bar), bar->isFloating());
        t.dockPosition = g.left();
        const bool bottom = t.dockSide == static_cast<std::uint8_t>(settings::DockSide::Bottom);
        rowOf[static_cast<std::size_t>(i)] = {t.dockSide, bottom ? height() - g.bottom() : g.top()};
        rowNumbers.emplace(rowOf[static_cast<std::size_t>(i)], 0);
    }
    int row = 0;
    int side = -1;
    for (auto& [key, number] : rowNumbers) {
        if (key.first != side) {
            side = key.first;
            row = 0;
        }
        number = row++;
    }
    for (int i = 0; i < kPanelCount; ++i)
        into.toolWindows[static_cast<std::size_t>(i)].dockRow =
            rowNumbers[rowOf[static_cast<std::size_t>(i)]];
    for (QToolBar* bar : hidden) bar->setVisible(false);
    if (!hidden.empty()) layout()->activate();
}

void TKalvintorMain::RestoreToolLayout(const settings::Settings& from) {
    // A record that never held a layout (all zero) keeps the built-in arrangement.
    const bool stored = std::any_of(from.toolWindows.begin(), from.toolWindows.end(), [](const auto& t) {
        return t.width != 0 || t.height != 0 || t.dockSide != 0;
    });
    if (!stored) return;
    std::vector<int> order(kPanelCount);
    for (int i = 0; i < kPanelCount; ++i) order[static_cast<std::size_t>(i)] = i;
    const auto key = [&from](int i) {
        const auto& t = from.toolWindows[static_cast<std::size_t>(i)];
        return std::tuple(t.dockSide == static_cast<std::uint8_t>(settings::DockSide::Bottom), t.dockRow,
                          t.dockPosition);
    };
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key(a) < key(b); });
    std::tuple<bool, int, int> previous{false, -1, 0};
    for (int i : order) {
        QToolBar* bar = toolWindows_[static_cast<std::size_t>(i)];
        const auto& t = from.toolWindows[static_cast<std::size_t>(i)];
        // Whether the panel is hidden of its own, which holds before the window is shown too.
        const bool visible = !bar->isHidden();
        removeToolBar(bar);
        // A panel that floated comes back docked at the top: only the user can tear a panel off.
        const bool bottom = t.dockSide == static_cast<std::uint8_t>(settings::DockSide::Bottom);
        const Qt::ToolBarArea area = bottom ? Qt::BottomToolBarArea : Qt::TopToolBarArea;
        if (std::get<0>(previous) == bottom && std::get<1>(previous) != t.dockRow &&
            std::get<1>(previous) >= 0)
            addToolBarBreak(area);
        addToolBar(area, bar);
        previous = {bottom, t.dockRow, t.dockPosition};
        bar->setVisible(visible);
    }
}

}  // namespace kalvintor::ui
