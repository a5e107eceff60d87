#include "loads_window.h"

#include <cmath>
#include <numbers>

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPainterPath>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "field_set.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

constexpr int kFieldWidth = 76;  // pixels

QLabel* Label(const QString& text) {
    auto* label = new QLabel(text);
    label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return label;
}

// --- The sketch ----------------------------------------------------------------------------

const QColor kForce(190, 0, 0);
const QColor kMoment(0, 0, 170);
const QColor kDistributed(0, 120, 0);

void Arrowhead(QPainter& p, QPointF tip, QPointF from, double size) {
    ui::Arrowhead(p, tip, from, size, 0.32);
}

void Arrow(QPainter& p, QPointF from, QPointF to, const QColor& colour, double width = 1.6) {
    p.save();
    p.setPen(QPen(colour, width));
    const QPointF d = to - from;
    const double length = std::hypot(d.x(), d.y());
    p.drawLine(from, to - d / length * 5);
    p.setBrush(colour);
    p.setPen(QPen(colour, 1));
    Arrowhead(p, to, from, 8);
    p.restore();
}

// A curved moment arrow around `centre`; clockwise on the screen when `clockwise`.
void MomentArrow(QPainter& p, QPointF centre, double radius, bool clockwise) {
    p.save();
    p.setPen(QPen(kMoment, 1.6));
    p.setBrush(Qt::NoBrush);
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    // The arc leaves a gap on the right of the column and sweeps 280 degrees; the arrowhead
    // sits at its end.
    const double startDeg = clockwise ? 320.0 : 40.0;
    const double spanDeg = clockwise ? -280.0 : 280.0;
    const double drawnDeg = spanDeg - (clockwise ? -30.0 : 30.0);
    p.drawArc(box, static_cast<int>(startDeg * 16), static_cast<int>(drawnDeg * 16));
    const double endRad = (startDeg + spanDeg) * std::numbers::pi / 180.0;
    const QPointF tip(centre.x() + radius * std::cos(endRad),
                      centre.y() - radius * std::sin(endRad));
    // Tangent of the sweep at its end, in screen coordinates.
    const double sense = clockwise ? -1.0 : 1.0;
    const QPointF tangent(-std::sin(endRad) * sense, -std::cos(endRad) * sense);
    p.setBrush(kMoment);
    p.setPen(QPen(kMoment, 1));
    Arrowhead(p, tip, tip - tangent * 9, 9);
    p.restore();
}

void Text(QPainter& p, QPointF at, const QString& text, const QColor& colour,
          Qt::Alignment align = Qt::AlignLeft | Qt::AlignVCenter) {
    p.save();
    p.setPen(colour);
    QRectF box(at.x(), at.y() - 9, 60, 18);
    if (align & Qt::AlignRight) box.moveRight(at.x());
    if (align & Qt::AlignHCenter) box.moveLeft(at.x() - 30);
    p.drawText(box, align, text);
    p.restore();
}

// One plane of the column: its axis `axis` ("x" or "y") to the right, z upwards.
void Plane(QPainter& p, QRectF area, const QString& axis) {
    const double cx = area.left() + area.width() * 0.48;
    const double top = area.top() + 38;
    const double bottom = area.bottom() - 34;
    const QString s = axis;  // "x" or "y"

    // Column and supports.
    p.setPen(QPen(Qt::black, 1.2));
    p.setBrush(QColor(215, 215, 215));
    p.drawRect(QRectF(cx - 6, top, 12, bottom - top));
    p.setPen(QPen(Qt::black, 1));
    for (int i = 0; i < 6; ++i) {
        const double x = cx - 18 + i * 7;
        p.drawLine(QPointF(x, bottom + 4), QPointF(x - 5, bottom + 10));
    }
    p.drawLine(QPointF(cx - 20, bottom + 3), QPointF(cx + 20, bottom + 3));

    // Axes at the lower left.
    const QPointF origin(area.left() + 14, bottom + 22);
    p.setPen(QPen(Qt::black, 1));
    Arrow(p, origin, origin + QPointF(26, 0), Qt::black, 1);
    Arrow(p, origin, origin + QPointF(0, -26), Qt::black, 1);
    Text(p, origin + QPointF(29, 0), s, Qt::black);
    Text(p, origin + QPointF(0, -33), QStringLiteral("z"), Qt::black, Qt::AlignHCenter);

    // Axial force at the top, compression positive.
    Arrow(p, QPointF(cx, top - 34), QPointF(cx, top - 1), kForce);
    Text(p, QPointF(cx - 6, top - 30), QStringLiteral("Fd,t"), kForce,
         Qt::AlignRight | Qt::AlignVCenter);
    // Horizontal force at the top, positive along the axis.
    Arrow(p, QPointF(cx + 8, top + 8), QPointF(cx + 36, top + 8), kForce);
    Text(p, QPointF(cx + 39, top + 8), QStringLiteral("H%1d,t").arg(s), kForce);
    // Initial moments: at the base the positive moment turns the column towards the positive
    // axis, at the top it turns it back, so both bend the column into the same curve.
    MomentArrow(p, QPointF(cx, top + 26), 15, false);
    Text(p, QPointF(cx + 20, top + 36), QStringLiteral("M%1d,t").arg(s), kMoment);
    MomentArrow(p, QPointF(cx, bottom - 22), 15, true);
    Text(p, QPointF(cx + 20, bottom - 34), QStringLiteral("M%1d,b").arg(s), kMoment);
    // Distributed load along the height, positive along the axis.
    const double loadLeft = cx - 44;
    p.setPen(QPen(kDistributed, 1));
    p.drawLine(QPointF(loadLeft, top + 50), QPointF(loadLeft, bottom - 46));
    const int arrows = 5;
    for (int i = 0; i < arrows; ++i) {
        const double y = top + 50 + (bottom - 46 - top - 50) * i / (arrows - 1);
        Arrow(p, QPointF(loadLeft, y), QPointF(cx - 8, y), kDistributed, 1.1);
    }
    Text(p, QPointF(loadLeft - 4, (top + bottom) / 2 - 2), QStringLiteral("p%1d").arg(s),
         kDistributed, Qt::AlignRight | Qt::AlignVCenter);
    // Plane name.
    Text(p, QPointF(cx + 14, bottom + 22), QStringLiteral("plano %1z").arg(s), Qt::black);
}

}  // namespace

// --- LoadsSketch -----------------------------------------------------------------------------

LoadsSketch::LoadsSketch(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("loadsSketch"));
    setAutoFillBackground(true);
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    setPalette(palette);
    setMinimumSize(260, 200);
}

void LoadsSketch::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(150, 150, 150), 1));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    QFont font = p.font();
    font.setPixelSize(11);
    p.setFont(font);
    // Both planes in a 300 x 230 box scaled to the widget.
    const double scale = std::min(width() / 300.0, height() / 230.0);
    p.translate((width() - 300 * scale) / 2, (height() - 230 * scale) / 2);
    p.scale(scale, scale);
    Plane(p, QRectF(0, 0, 150, 230), QStringLiteral("x"));
    Plane(p, QRectF(150, 0, 150, 230), QStringLiteral("y"));
}

// --- LoadsWindow -----------------------------------------------------------------------------

LoadsWindow::LoadsWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("loadsWindow"));
    setWindowTitle(QStringLiteral(" TARVELO"));
    fields_ = std::make_unique<FieldSet>(FieldWindow::Loads, kFieldWidth);
    const FieldSet& field = *fields_;

    // Height.
    auto* height = new QHBoxLayout;
    height->addWidget(new QLabel(QStringLiteral("Altura do pilar L  (cm) =")));
    height->addWidget(field[FieldId::L]);
    height->addStretch(1);

    // Forces at the top.
    auto* forces = new QGroupBox(QStringLiteral("Forças no topo do pilar"));
    auto* forcesGrid = new QGridLayout(forces);
    auto* axial = new QLabel(QStringLiteral("Força normal de cálculo:  Fd,t (kN)="));
    forcesGrid->addWidget(axial, 0, 0, 1, 2, Qt::AlignRight);
    forcesGrid->addWidget(field[FieldId::Fd], 0, 2);
    forcesGrid->addWidget(new QLabel(QStringLiteral("Forças horizontais:")), 1, 0);
    forcesGrid->addWidget(Label(QStringLiteral("Hxd,t (kN) =")), 1, 1);
    forcesGrid->addWidget(field[FieldId::Hxd_t], 1, 2);
    forcesGrid->addWidget(Label(QStringLiteral("Hyd,t (kN) = ")), 2, 1);
    forcesGrid->addWidget(field[FieldId::Hyd_t], 2, 2);
    forcesGrid->setColumnStretch(0, 1);

    // Initial bending moments.
    auto* moments = new QGroupBox(QStringLiteral("Momentos fletores iniciais"));
    auto* momentsGrid = new QGridLayout(moments);
    momentsGrid->addWidget(new QLabel(QStringLiteral("No topo:")), 0, 0);
    momentsGrid->addWidget(Label(QStringLiteral("Mxd,t (kN cm) =")), 0, 1);
    momentsGrid->addWidget(field[FieldId::Mxd_t], 0, 2);
    momentsGrid->addWidget(Label(QStringLiteral("Myd,t (kN cm) =")), 1, 1);
    momentsGrid->addWidget(field[FieldId::Myd_t], 1, 2);
    momentsGrid->addWidget(new QLabel(QStringLiteral("Na base:")), 2, 0);
    momentsGrid->addWidget(Label(QStringLiteral("Mxd,b (kN cm) =")), 2, 1);
    momentsGrid->addWidget(field[FieldId::Mxd_b], 2, 2);
    momentsGrid->addWidget(Label(QStringLiteral("Myd,b (kN cm) =")), 3, 1);
    momentsGrid->addWidget(field[FieldId::Myd_b], 3, 2);
    momentsGrid->setColumnStretch(0, 1);

    // Distributed loads.
    auto* distributed = new QGroupBox(QStringLiteral("Cargas distribuídas"));
    auto* distributedGrid = new QGridLayout(distributed);
    distributedGrid->addWidget(Label(QStringLiteral("pxd (kN/cm) =")), 0, 0);
    distributedGrid->addWidget(field[FieldId::pxd], 0, 1);
    distributedGrid->addWidget(Label(QStringLiteral("pyd (kN/cm) =")), 1, 0);
    distributedGrid->addWidget(field[FieldId::pyd], 1, 1);
    distributedGrid->setColumnStretch(0, 1);

    auto* left = new QVBoxLayout;
    left->addLayout(height);
    left->addWidget(forces);
    left->addWidget(moments);
    left->addWidget(distributed);
    left->addStretch(1);

    // Supports.
    auto makeOption = [](QRadioButton*& option, const char* name, const QString& caption, bool on) {
        option = new QRadioButton(caption);
        option->setObjectName(QString::fromLatin1(name));
        option->setChecked(on);
        return option;
    };
    auto top = [this](SupportCondition s) -> QRadioButton*& {
        return topOptions_[static_cast<std::size_t>(s)];
    };
    auto base = [this](SupportCondition s) -> QRadioButton*& {
        return baseOptions_[static_cast<std::size_t>(s)];
    };
    auto* supports = new QGroupBox(QStringLiteral("Condições de contorno"));
    auto* topFrame = new QGroupBox(QStringLiteral("No topo (t)"));
    auto* topLayout = new QVBoxLayout(topFrame);
    topLayout->addWidget(makeOption(top(SupportCondition::Fixed), "topFixedOption",
                                    QStringLiteral("Engaste"), false));
    topLayout->addWidget(makeOption(top(SupportCondition::Pinned), "topPinnedOption",
                                    QStringLiteral("Apoio simples"), true));
    topLayout->addWidget(
        makeOption(top(SupportCondition::Free), "topFreeOption", QStringLiteral("Livre"), false));
    auto* baseFrame = new QGroupBox(QStringLiteral("Na base (b) "));
    auto* baseLayout = new QVBoxLayout(baseFrame);
    baseLayout->addWidget(makeOption(base(SupportCondition::Fixed), "baseFixedOption",
                                     QStringLiteral("Engaste"), false));
    baseLayout->addWidget(makeOption(base(SupportCondition::Pinned), "basePinnedOption",
                                     QStringLiteral("Apoio simples"), true));
    baseLayout->addStretch(1);
    auto* supportsLayout = new QHBoxLayout(supports);
    supportsLayout->addWidget(topFrame);
    supportsLayout->addWidget(baseFrame);

    auto* sketchCaption = new QLabel(QStringLiteral("Sentido positivo das forças e momentos"));
    sketchCaption->setAlignment(Qt::AlignCenter);
    auto* sketch = new LoadsSketch;

    auto* ok = CommandButton(QStringLiteral("okButton"), QStringLiteral("&OK"),
                             QStringLiteral("Volta para a janela principal"));
    auto* help = CommandButton(QStringLiteral("helpButton"), QStringLiteral("Ajuda"),
                               QStringLiteral("Abrir a ajuda do programa"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(help);

    auto* right = new QVBoxLayout;
    right->addWidget(supports);
    right->addWidget(sketchCaption);
    right->addWidget(sketch, 1);
    right->addLayout(buttons);

    auto* root = new QHBoxLayout(this);
    root->setContentsMargins(10, 10, 10, 10);
    root->setSpacing(12);
    root->addLayout(left);
    root->addLayout(right, 1);

    connect(ok, &QPushButton::clicked, this, &LoadsWindow::confirmRequested);
    connect(help, &QPushButton::clicked, this, &LoadsWindow::helpRequested);
    SetClientSize(this, 679, 506);
}

LoadsWindow::~LoadsWindow() = default;

QLineEdit* LoadsWindow::Field(FieldId id) const {
    return (*fields_)[id];
}

QRadioButton* LoadsWindow::TopOption(SupportCondition support) const {
    return topOptions_[static_cast<std::size_t>(support)];
}

QRadioButton* LoadsWindow::BaseOption(SupportCondition support) const {
    return baseOptions_[static_cast<std::size_t>(support)];
}

bool LoadsWindow::TopIsFree() const {
    return TopOption(SupportCondition::Free)->isChecked();
}

void LoadsWindow::Collect(ColumnData& data) const {
    fields_->Collect(data);
    data.baseSupport = BaseOption(SupportCondition::Fixed)->isChecked() ? SupportCondition::Fixed
                                                                        : SupportCondition::Pinned;
    data.topSupport = SupportCondition::Pinned;
    for (SupportCondition s : {SupportCondition::Fixed, SupportCondition::Free}) {
        if (TopOption(s)->isChecked()) data.topSupport = s;
    }
}

void LoadsWindow::Apply(const ColumnData& data) {
    fields_->Apply(data);
    // A free base does not exist: anything but a fixed base is pinned.
    BaseOption(data.baseSupport == SupportCondition::Fixed ? SupportCondition::Fixed
                                                           : SupportCondition::Pinned)
        ->setChecked(true);
    TopOption(data.topSupport)->setChecked(true);
}

void LoadsWindow::closeEvent(QCloseEvent* event) {
    // Closing by the title bar keeps the texts but confirms nothing; the main window must not
    // stay disabled with no window open to enable it.
    event->accept();
    emit closedWithoutConfirming();
}

}  // namespace tarvelo::ui
