// The start menu.
#include "TMenuDialog.h"

#include "Pictures.h"
#include "Program.h"
#include "Style.h"
#include "Texts.h"
#include "app/ExerciseNames.h"
#include "app/WordWrap.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPushButton>

namespace kalvintor::ui {
namespace {

const QColor kPanelColour(48, 52, 128);
const QColor kInfoColour(248, 240, 224);
constexpr QSize kPanelSize(642, 455);
constexpr QRect kInfoRect(74, 156, 255, 182);
constexpr int kButtonLeft = 412;
constexpr QSize kButtonSize(209, 36);
constexpr int kScrollMs = 100;
constexpr int kFirstWelcomeText = 5212;
constexpr int kLastWelcomeText = 5220;
constexpr int kStopText = 5217;
constexpr int kFirstDescription = 5220;  // + exercise
constexpr std::size_t kBoldLines = 3;

// The buttons from top to bottom: exercise and top.
constexpr std::pair<int, int> kButtons[] = {{3, 82},  {2, 118}, {1, 154}, {7, 190}, {10, 226},
                                            {8, 262}, {5, 298}, {4, 334}, {6, 370}, {9, 406}};

}  // namespace

TMenuDialog::TMenuDialog(QWidget* parent)
    : QWidget(parent), panel_(new QWidget(this)), info_(new QWidget(panel_)) {
    setObjectName(QStringLiteral("MenuDialog"));
    panel_->setObjectName(QStringLiteral("Panel1"));
    panel_->setFixedSize(kPanelSize);
    panel_->setAutoFillBackground(true);
    QPalette palette = panel_->palette();
    palette.setColor(QPalette::Window, kPanelColour);
    panel_->setPalette(palette);

    info_->setObjectName(QStringLiteral("PaintBox1"));
    info_->setGeometry(kInfoRect);
    info_->setMouseTracking(true);
    info_->installEventFilter(this);
    ScrollOffset = kInfoRect.height() / 2;

    // The two headings: over the information panel and over the buttons.
    for (auto [name, id, geometry] : {std::tuple{"Label1", 5210, QRect(74, 96, 300, 40)},
                                      std::tuple{"Label2", 5211, QRect(kButtonLeft, 40, 220, 30)}}) {
        auto* label = new QLabel(panel_);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(geometry);
        label->setFont(style::uiFont(id == 5210 ? 14 : 11, QFont::Bold));
        label->setStyleSheet(id == 5210 ? QStringLiteral("color: rgb(248,240,224);")
                                        : QStringLiteral("color: rgb(252,168,41);"));
        label->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
        label->setWordWrap(true);
        bindCaption(label, id);
    }

    int number = 5;
    for (auto [exercise, top] : kButtons) {
        auto* button = new QPushButton(panel_);
        button->setObjectName(QStringLiteral("SpeedButton%1").arg(number++));
        button->setProperty("tag", exercise);
        button->setGeometry(QRect(QPoint(kButtonLeft, top), kButtonSize));
        button->setFont(style::uiFont(11, QFont::Bold));
        button->setCursor(Qt::PointingHandCursor);
        button->setStyleSheet(QStringLiteral(
            "QPushButton { color: rgb(252,168,41); background: rgba(255,255,255,18); border: 1px solid "
            "rgba(255,255,255,40); border-radius: 6px; text-align: left; padding-left: 14px; }"
            "QPushButton:hover { background: rgba(255,255,255,40); border-color: rgb(252,168,41); }"
            "QPushButton:pressed { background: rgba(0,0,0,40); }"
            "QPushButton:focus { background: rgba(255,255,255,40); border: 2px solid rgb(252,168,41); "
            "padding-left: 13px; }"
            "QPushButton:disabled { color: rgba(252,168,41,100); background: transparent; "
            "border-color: rgba(255,255,255,22); }"));
        button->installEventFilter(this);
        bindCaption(button, app::ExerciseNameText(exercise));
        button->setText(text(app::ExerciseNameText(exercise), ""));
        // What the information panel shows of the exercise, for those who do not see it.
        bindText(button, kFirstDescription + exercise,
                 [button](const QString& t) { button->setAccessibleDescription(t); });
        const int tag = exercise;  // structured bindings cannot be captured before C++20 compilers catch up
        connect(button, &QPushButton::clicked, this, [this, tag] { emit exerciseChosen(tag); });
        buttons_[exercise] = button;
    }

    for (int id = kFirstWelcomeText; id <= kLastWelcomeText; ++id)
        bindText(this, id, [this, id](const QString& t) { paragraphs_[id] = t.toStdString(); });
    observeLanguage(
        this,
        [this] {
            WelcomeLines.clear();
            paragraphs_.clear();
        },
        [this] { rebuildWelcome(); });
    rebuildWelcome();

    connect(&scrollTimer_, &QTimer::timeout, this, &TMenuDialog::ScrollTick);
    scrollTimer_.setInterval(kScrollMs);
}

QPushButton* TMenuDialog::exerciseButton(int exercise) const {
    auto it = buttons_.find(exercise);
    return it == buttons_.end() ? nullptr : it->second;
}

QFont TMenuDialog::panelFont(bool bold) const {
    return style::uiFont(9, bold ? QFont::Bold : QFont::Normal);
}

int TMenuDialog::wrapWidth() const {
    return kInfoRect.width() - 13;
}

void TMenuDialog::AddParagraph(const QString& paragraph) {
    // The first lines are drawn bold, so they are measured bold.
    const QFontMetrics regular(panelFont()), bold(panelFont(true));
    app::AddParagraph(WelcomeLines, paragraph.toStdString(), wrapWidth(), [&](std::string_view s) {
        const auto& metrics = WelcomeLines.size() < kBoldLines ? bold : regular;
        return metrics.horizontalAdvance(QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
    });
}

void TMenuDialog::rebuildWelcome() {
    WelcomeLines.clear();
    StopLine = 0;
    for (const auto& [id, paragraph] : paragraphs_) {
        if (id == kStopText) StopLine = static_cast<int>(WelcomeLines.size());
        AddParagraph(QString::fromStdString(paragraph));
    }
    describeInfo();
    info_->update();
}

void TMenuDialog::StartMenu() {
    LineHeight = QFontMetrics(panelFont()).boundingRect(QStringLiteral("XygHq")).height();
    scrollAllowed_ = true;
    scrollTimer_.start();
    if (StopLine == 0 || StopLine > static_cast<int>(WelcomeLines.size())) {
        // The last empty line: from the end, back over the lines that are not empty.
        int i = static_cast<int>(WelcomeLines.size()) - 1;
        while (i > 0 && !WelcomeLines[static_cast<std::size_t>(i)].empty()) --i;
        StopLine = std::max(i, 0);
    }
    if (introMusic && playIntro) introPlaying_ = playIntro();
}

void TMenuDialog::StopIntro() {
    if (!introPlaying_) return;
    introPlaying_ = false;
    if (stopIntro) stopIntro();
}

void TMenuDialog::ScrollTick() {
    ScrollOffset -= 1;
    if (ScrollOffset <= -LineHeight) {
        ScrollOffset = 0;
        TopLine += 1;
        if (TopLine >= StopLine) scrollTimer_.stop();
    }
    info_->update();
}

void TMenuDialog::Hover(int tag) {
    if (tag == HoverExercise) return;
    HoverExercise = tag;
    if (tag > 0) {
        scrollTimer_.stop();
        DescriptionLines.clear();
        const QFontMetrics metrics(panelFont());
        app::AddParagraph(DescriptionLines, text(kFirstDescription + tag, "").toStdString(), wrapWidth(),
                          [&](std::string_view s) {
                              return metrics.horizontalAdvance(
                                  QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())));
                          });
    } else if (scrollAllowed_ && TopLine < StopLine && isVisible()) {
        scrollTimer_.start();
    }
    describeInfo();
    info_->update();
}

bool TMenuDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == info_) {
        if (event->type() == QEvent::Paint) {
            QPainter painter(info_);
            paintInfo(painter);
            return true;
        }
        if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) Hover(0);
    } else if (event->type() == QEvent::Enter || event->type() == QEvent::HoverMove ||
               event->type() == QEvent::FocusIn) {
        // A button reached by the keyboard shows its exercise as one under the mouse does.
        if (auto* button = qobject_cast<QPushButton*>(watched)) Hover(button->property("tag").toInt());
    }
    return QWidget::eventFilter(watched, event);
}

void TMenuDialog::describeInfo() {
    // The panel's text as a screen reader reads it: the exercise shown, or the welcome text.
    const auto joined = [](const std::vector<std::string>& lines, std::size_t from) {
        QStringList parts;
        for (std::size_t i = from; i < lines.size(); ++i)
            if (!lines[i].empty()) parts << QString::fromStdString(lines[i]);
        return parts.join(QLatin1Char(' '));
    };
    if (HoverExercise > 0) {
        info_->setAccessibleName(text(HoverExercise * 200, ""));
        info_->setAccessibleDescription(joined(DescriptionLines, 0));
    } else {
        info_->setAccessibleName(WelcomeLines.empty() ? QString() : QString::fromStdString(WelcomeLines[0]));
        info_->setAccessibleDescription(joined(WelcomeLines, 1));
    }
}

void TMenuDialog::paintInfo(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.fillRect(info_->rect(), program().highColour ? kInfoColour : QColor(Qt::white));
    p.setPen(kPanelColour);
    const int width = info_->width();
    if (HoverExercise == 0) {
        int y = ScrollOffset;
        for (std::size_t i = static_cast<std::size_t>(std::max(TopLine, 0));
             i < WelcomeLines.size() && y < info_->height(); ++i, y += LineHeight) {
            p.setFont(panelFont(i < kBoldLines));
            p.drawText(7, y + QFontMetrics(p.font()).ascent(), QString::fromStdString(WelcomeLines[i]));
        }
        return;
    }
    const QPixmap picture = exercisePicture(HoverExercise, kPanelColour, info_->devicePixelRatioF());
    p.drawPixmap((width - 100) / 2, 1, picture);
    p.setFont(panelFont(true));
    p.drawText(QRect(0, 68, width, LineHeight + 2), Qt::AlignHCenter | Qt::AlignTop,
               text(HoverExercise * 200, ""));
    p.setFont(panelFont());
    int y = 84;
    for (const auto& line : DescriptionLines) {
        p.drawText(QRect(0, y, width, LineHeight + 2), Qt::AlignHCenter | Qt::AlignTop,
                   QString::fromStdString(line));
        y += LineHeight;
    }
}

void TMenuDialog::resizeEvent(QResizeEvent*) {
    const int firstButtonTop = kButtons[0].second;
    const int x = (width() - kPanelSize.width()) / 2;
    const int y = height() < kPanelSize.height() ? 5 - firstButtonTop : (height() - kPanelSize.height()) / 2;
    panel_->move(x, y);
}

void TMenuDialog::showEvent(QShowEvent*) {
    if (scrollAllowed_ && TopLine < StopLine && HoverExercise == 0) scrollTimer_.start();
}

void TMenuDialog::hideEvent(QHideEvent*) {
    scrollTimer_.stop();
    if (TopLine > static_cast<int>(WelcomeLines.size())) TopLine = 0;
}

}  // namespace kalvintor::ui
