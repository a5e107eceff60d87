#include "section_window.h"

#include <QCloseEvent>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "coordinate_file.h"
#include "coordinate_grid.h"
#include "field_set.h"
#include "file_chooser.h"
#include "key_filters.h"
#include "message_presenter.h"
#include "model/section_geometry.h"
#include "section_pictures.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

constexpr int kFieldWidth = 64;  // pixels
const QString kTitle = QStringLiteral("TARVELO");

int KindIndex(SectionType kind) {
    return static_cast<int>(kind);
}

// The dimension frame of each parametric kind, in the order of SectionType: its fields with
// their labels and the picture beside them.
struct DimensionRow {
    FieldId field;
    const char* label;
};
struct KindFrame {
    const char* frameName;
    const char* pictureName;
    SectionPictureKind picture;
    std::vector<DimensionRow> rows;
};
const std::array<KindFrame, 4>& KindFrames() {
    static const std::array<KindFrame, 4> frames{{
        {"rectangularSolidFrame",
         "rectangularSolidPicture",
         SectionPictureKind::RectangularSolid,
         {{FieldId::RectHx, "hx = "}, {FieldId::RectHy, "hy = "}}},
        {"rectangularHollowFrame",
         "rectangularHollowPicture",
         SectionPictureKind::RectangularHollow,
         {{FieldId::HollowHx, "hx = "},
          {FieldId::HollowHy, "hy = "},
          {FieldId::HollowBxo, "bx ="},
          {FieldId::HollowByo, "by ="}}},
        {"circularSolidFrame",
         "circularSolidPicture",
         SectionPictureKind::CircularSolid,
         {{FieldId::CircleDiameter, "D = "}, {FieldId::CircleCover, "d' ="}}},
        {"circularHollowFrame",
         "circularHollowPicture",
         SectionPictureKind::CircularHollow,
         {{FieldId::HollowCircleDe, "De ="},
          {FieldId::HollowCircleDi, "Di ="},
          {FieldId::HollowCircleCover, "d' ="}}},
    }};
    return frames;
}

QPushButton* Button(const QString& name, const QString& caption, const QString& tip) {
    auto* button = new QPushButton(caption);
    button->setObjectName(name);
    if (!tip.isEmpty()) button->setToolTip(tip);
    button->setAutoDefault(false);
    return button;
}

QLabel* Caption(const QString& text) {
    auto* label = new QLabel(text);
    QFont font = label->font();
    font.setBold(true);
    label->setFont(font);
    return label;
}

}  // namespace

SectionWindow::SectionWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("sectionWindow"));
    setWindowTitle(QStringLiteral(" TARVELO"));
    fields_ = std::make_unique<FieldSet>(FieldWindow::Section, kFieldWidth);

    // One dimension frame per parametric kind, with its picture beside the fields.
    auto* framesBox = new QWidget;
    auto* framesLayout = new QVBoxLayout(framesBox);
    framesLayout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t k = 0; k < 4; ++k) {
        const KindFrame& kind = KindFrames()[k];
        auto* frame = new QGroupBox(QStringLiteral("Dimensões da seção (cm)"));
        frame->setObjectName(QString::fromLatin1(kind.frameName));
        auto* grid = new QGridLayout(frame);
        int r = 0;
        for (const DimensionRow& row : kind.rows) {
            auto* label = new QLabel(QString::fromUtf8(row.label));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(label, r, 0);
            grid->addWidget((*fields_)[row.field], r, 1);
            ++r;
        }
        grid->setRowStretch(r, 1);
        auto* picture = new SectionPicture(kind.picture);
        picture->setObjectName(QString::fromLatin1(kind.pictureName));
        picture->setMinimumSize(170, 140);
        grid->addWidget(picture, 0, 2, r + 1, 1);
        grid->setColumnStretch(2, 1);
        frames_[k] = frame;
        pictures_[k] = picture;
        framesLayout->addWidget(frame);
    }

    // The two tables, each with its caption and, for polygons, its numbering sketch.
    vertexGrid_ = new CoordinateGrid(QStringLiteral("vertexGrid"), QStringLiteral("Vértice"));
    barGrid_ = new CoordinateGrid(QStringLiteral("barGrid"), QStringLiteral("Barra"));
    auto makePanel = [](QLabel* caption, CoordinateGrid* grid, QWidget* numbering) {
        auto* panel = new QWidget;
        auto* layout = new QVBoxLayout(panel);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(3);
        layout->addWidget(caption);
        layout->addWidget(grid, 1);
        layout->addWidget(numbering);
        return panel;
    };
    auto makeNumbering = [](const QString& text, SectionPictureKind kind) {
        auto* box = new QWidget;
        auto* layout = new QHBoxLayout(box);
        layout->setContentsMargins(0, 0, 0, 0);
        auto* label = new QLabel(text);
        label->setWordWrap(true);
        auto* picture = new SectionPicture(kind);
        picture->setFixedSize(120, 120);
        layout->addWidget(label, 1);
        layout->addWidget(picture);
        return box;
    };
    vertexNumbering_ = makeNumbering(QStringLiteral("Sentido de numeração dos vértices"),
                                     SectionPictureKind::VertexNumbering);
    barNumbering_ = makeNumbering(QStringLiteral("Numeração das barras de aço"),
                                  SectionPictureKind::BarNumbering);
    vertexPanel_ = makePanel(Caption(QStringLiteral("Coordenadas dos vértices da seção")),
                             vertexGrid_, vertexNumbering_);
    barPanel_ = makePanel(Caption(QStringLiteral("Coordenadas das barras de aço")), barGrid_,
                          barNumbering_);

    auto* body = new QHBoxLayout;
    body->addWidget(framesBox, 1);
    body->addWidget(vertexPanel_, 1);
    body->addWidget(barPanel_, 1);

    auto* ok = Button(QStringLiteral("okButton"), QStringLiteral("&OK"),
                      QStringLiteral("Volta para a janela principal"));
    auto* cancel = Button(QStringLiteral("cancelButton"), QStringLiteral("&Cancelar"),
                          QStringLiteral("Cancela a entrada de dados e volta para a janela "
                                         "principal"));
    auto* clear = Button(QStringLiteral("clearButton"), QStringLiteral("Apagar tudo"),
                         QStringLiteral("Apagar todos os dados dessa janela"));
    readButton_ = Button(QStringLiteral("readFileButton"), QStringLiteral("Ler de arquivo"),
                         QStringLiteral("Ler as coordenadas das barras de arquivo de texto"));
    auto* help = Button(QStringLiteral("helpButton"), QStringLiteral("Ajuda"),
                        QStringLiteral("Abrir a ajuda do programa"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    buttons->addWidget(clear);
    buttons->addWidget(readButton_);
    buttons->addStretch(1);
    buttons->addWidget(help);

    auto* root = new QVBoxLayout(this);
    root->setContentsMargins(8, 8, 8, 8);
    root->addLayout(body, 1);
    root->addLayout(buttons);

    connect(ok, &QPushButton::clicked, this, &SectionWindow::Confirm);
    connect(cancel, &QPushButton::clicked, this, &SectionWindow::Cancel);
    connect(clear, &QPushButton::clicked, this, [this] {
        if (Presenter().Question(this, kTitle,
                                 QStringLiteral("Apagar todos os dados desta janela?"), true)) {
            ClearCurrentKind();
        }
    });
    connect(readButton_, &QPushButton::clicked, this, &SectionWindow::ReadFromFile);
    connect(help, &QPushButton::clicked, this, &SectionWindow::helpRequested);

    // Both tables hold the heading row only until the window is first opened.
    vertexGrid_->SetDataRowCount(0);
    barGrid_->SetDataRowCount(0);
    Prepare(SectionType::RectangularSolid, 0, 0);
    SetClientSize(this, 573, 324);
}

SectionWindow::~SectionWindow() = default;

QLineEdit* SectionWindow::Field(FieldId id) const {
    return (*fields_)[id];
}

void SectionWindow::Prepare(SectionType kind, int vertexCount, int barCount) {
    kind_ = kind;
    const int index = KindIndex(kind);
    const bool polygonal = kind == SectionType::Polygonal;
    const bool rectangular =
        kind == SectionType::RectangularSolid || kind == SectionType::RectangularHollow;
    for (int k = 0; k < 4; ++k)
        frames_[static_cast<std::size_t>(k)]->setVisible(k == index);
    frames_[0]->parentWidget()->setVisible(!polygonal);
    vertexPanel_->setVisible(polygonal);
    barPanel_->setVisible(polygonal || rectangular);
    vertexNumbering_->setVisible(polygonal);
    barNumbering_->setVisible(polygonal);
    readButton_->setVisible(polygonal || rectangular);

    if (polygonal) vertexGrid_->SetDataRowCount(vertexCount);
    if (polygonal || rectangular) barGrid_->SetDataRowCount(barCount);
}

void SectionWindow::Collect(ColumnData& data) const {
    fields_->Collect(data);
    data.vertices = vertexGrid_->Rows();
    data.bars = barGrid_->Rows();
}

void SectionWindow::Apply(const ColumnData& data) {
    fields_->Apply(data);
    vertexGrid_->SetRows(data.vertices);
    barGrid_->SetRows(data.bars);
    Prepare(data.sectionType, vertexGrid_->DataRowCount(), barGrid_->DataRowCount());
}

void SectionWindow::ClearCurrentKind() {
    if (kind_ != SectionType::Polygonal) {
        for (const DimensionRow& row : KindFrames()[static_cast<std::size_t>(kind_)].rows) {
            (*fields_)[row.field]->clear();
        }
    }
    if (kind_ == SectionType::Polygonal) vertexGrid_->ClearCells();
    if (kind_ != SectionType::CircularSolid && kind_ != SectionType::CircularHollow) {
        barGrid_->ClearCells();
    }
}

void SectionWindow::Confirm() {
    hide();
    vertexGrid_->CutLongTexts();
    barGrid_->CutLongTexts();
    emit closed(true);
}

void SectionWindow::Cancel() {
    hide();
    emit closed(false);
}

void SectionWindow::closeEvent(QCloseEvent* event) {
    // Closing by the title bar keeps what was typed, as "Cancelar" does; the main window must
    // not stay disabled with no window open to enable it.
    event->accept();
    emit closed(false);
}

void SectionWindow::ReadFromFile() {
    bool vertices = false;
    if (kind_ == SectionType::Polygonal) {
        vertices = Presenter().Question(
            this, kTitle,
            QStringLiteral("Ler do arquivo as coordenadas dos vértices da seção?\n\n"
                           "Responda Não para ler as coordenadas das barras de aço."),
            false);
    }
    const QString path = Files().OpenFileName(
        this,
        vertices ? QStringLiteral("Coordenadas dos vértices da seção")
                 : QStringLiteral("Coordenadas das barras de aço"),
        QStringLiteral("Coordenadas (*.txt *.csv *.dat);;Todos os arquivos (*)"));
    if (path.isEmpty()) return;
    ReadCoordinateFile(path, vertices);
}

bool SectionWindow::ReadCoordinateFile(const QString& path, bool vertices) {
    const QString name = QFileInfo(path).fileName();
    auto fail = [this](const QString& text) {
        Presenter().Warning(this, kTitle, text);
        return false;
    };
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return fail(QStringLiteral("Não foi possível abrir o arquivo \"%1\".").arg(name));
    }
    if (file.size() > static_cast<qint64>(kMaxCoordinateFileBytes)) {
        return fail(QStringLiteral("O arquivo \"%1\" é grande demais para um arquivo de "
                                   "coordenadas.")
                        .arg(name));
    }
    const QByteArray bytes = file.readAll();
    std::vector<GridRow> rows;
    int badLine = 0;
    std::string error;
    if (!ParseCoordinateText(std::string_view(bytes.constData(), bytes.size()), rows, badLine,
                             error)) {
        return fail(QStringLiteral("Erro na linha %1 do arquivo \"%2\": %3\n\nNenhuma coordenada "
                                   "foi alterada.")
                        .arg(badLine)
                        .arg(name, ToQ(error)));
    }
    const int count = static_cast<int>(rows.size());
    if (count == 0) {
        return fail(QStringLiteral("O arquivo \"%1\" não contém coordenadas.").arg(name));
    }
    const int limit = vertices ? kMaxVertices : kMaxBars;
    if (count > limit) {
        return fail(QStringLiteral("O arquivo \"%1\" tem %2 pares de coordenadas. %3")
                        .arg(name)
                        .arg(count)
                        .arg(vertices ? QStringLiteral("Este programa está limitado a seções "
                                                       "com um máximo de 299 vértices.")
                                      : QStringLiteral("Este programa está limitado a 299 "
                                                       "barras de aço.")));
    }
    if (vertices && count < 3) {
        return fail(QStringLiteral("O arquivo \"%1\" tem %2 pares de coordenadas. O número de "
                                   "vértices da seção deve ser maior ou igual a 3.")
                        .arg(name)
                        .arg(count));
    }
    CoordinateGrid* grid = vertices ? vertexGrid_ : barGrid_;
    const bool countChanged = grid->DataRowCount() != count;
    grid->SetRows(rows);
    if (countChanged) {
        if (vertices) {
            emit vertexCountChanged(count);
        } else {
            emit barCountChanged(count);
        }
    }
    return true;
}

}  // namespace tarvelo::ui
