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
#include "file_chooser.h"
#include "key_filters.h"
#include "message_presenter.h"
#include "model/section_geometry.h"
#include "section_pictures.h"
#include "ui_common.h"

namespace tarvelo::ui {
namespace {

constexpr int kDimensionLength = 6;
const QString kTitle = QStringLiteral("TARVELO");

int KindIndex(SectionType kind) {
    return static_cast<int>(kind);
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
    setObjectName(QStringLiteral("Form17b"));
    setWindowTitle(QStringLiteral(" TARVELO"));

    for (int i = 1; i <= 13; ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("Text%1").arg(i));
        if (i <= 11) {
            SetUpField(field, kDimensionLength);
            InstallKeyFilter(field, KeyFilterKind::Decimal);
            field->setFixedWidth(64);
        } else {
            field->hide();  // the counts the window was opened with
        }
        text_[static_cast<std::size_t>(i)] = field;
    }
    text_[1]->setText(QStringLiteral("20"));
    text_[2]->setText(QStringLiteral("40"));
    text_[3]->setText(QStringLiteral("60"));
    text_[4]->setText(QStringLiteral("60"));
    text_[7]->setText(QStringLiteral("20"));
    text_[9]->setText(QStringLiteral("40"));

    // One dimension frame per parametric kind, with its picture beside the fields.
    struct Row {
        int field;
        const char* label;
    };
    const std::array<std::vector<Row>, 4> rows{{
        {{1, "hx = "}, {2, "hy = "}},
        {{3, "hx = "}, {4, "hy = "}, {5, "bx ="}, {6, "by ="}},
        {{7, "D = "}, {8, "d' ="}},
        {{9, "De ="}, {10, "Di ="}, {11, "d' ="}},
    }};
    const SectionPictureKind pictureKinds[4] = {
        SectionPictureKind::RectangularSolid, SectionPictureKind::RectangularHollow,
        SectionPictureKind::CircularSolid, SectionPictureKind::CircularHollow};
    auto* framesBox = new QWidget;
    auto* framesLayout = new QVBoxLayout(framesBox);
    framesLayout->setContentsMargins(0, 0, 0, 0);
    for (std::size_t k = 0; k < 4; ++k) {
        auto* frame = new QGroupBox(QStringLiteral("Dimensões da seção (cm)"));
        frame->setObjectName(QStringLiteral("FrameKind%1").arg(k + 1));
        auto* grid = new QGridLayout(frame);
        int r = 0;
        for (const Row& row : rows[k]) {
            auto* label = new QLabel(QString::fromUtf8(row.label));
            label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->addWidget(label, r, 0);
            grid->addWidget(text_[static_cast<std::size_t>(row.field)], r, 1);
            ++r;
        }
        grid->setRowStretch(r, 1);
        auto* picture = new SectionPicture(pictureKinds[k]);
        picture->setObjectName(QStringLiteral("Picture%1").arg(k + 1));
        picture->setMinimumSize(170, 140);
        grid->addWidget(picture, 0, 2, r + 1, 1);
        grid->setColumnStretch(2, 1);
        frames_[k] = frame;
        pictures_[k] = picture;
        framesLayout->addWidget(frame);
    }

    // The two tables, each with its caption and, for polygons, its numbering sketch.
    grade1_ = new CoordinateGrid(QStringLiteral("Grade1"), QStringLiteral("Vértice"));
    grade2_ = new CoordinateGrid(QStringLiteral("Grade2"), QStringLiteral("Barra"));
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
    vertexPanel_ = makePanel(Caption(QStringLiteral("Coordenadas dos vértices da seção")), grade1_,
                             vertexNumbering_);
    barPanel_ =
        makePanel(Caption(QStringLiteral("Coordenadas das barras de aço")), grade2_, barNumbering_);

    auto* body = new QHBoxLayout;
    body->addWidget(framesBox, 1);
    body->addWidget(vertexPanel_, 1);
    body->addWidget(barPanel_, 1);

    auto* ok = Button(QStringLiteral("Command2"), QStringLiteral("&OK"),
                      QStringLiteral("Volta para a janela principal"));
    auto* cancel = Button(QStringLiteral("Command5"), QStringLiteral("&Cancelar"),
                          QStringLiteral("Cancela a entrada de dados e volta para a janela "
                                         "principal"));
    auto* clear = Button(QStringLiteral("Command1"), QStringLiteral("Apagar tudo"),
                         QStringLiteral("Apagar todos os dados dessa janela"));
    readButton_ = Button(QStringLiteral("Command4"), QStringLiteral("Ler de arquivo"),
                         QStringLiteral("Ler as coordenadas das barras de arquivo de texto"));
    auto* help = Button(QStringLiteral("Command3"), QStringLiteral("Ajuda"),
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
    connect(clear, &QPushButton::clicked, this, &SectionWindow::ClearCurrentKind);
    connect(readButton_, &QPushButton::clicked, this, &SectionWindow::ReadFromFile);
    connect(help, &QPushButton::clicked, this, &SectionWindow::helpRequested);

    // Both tables hold the heading row only until the window is first opened.
    grade1_->SetDataRowCount(0);
    grade2_->SetDataRowCount(0);
    Prepare(SectionType::RectangularSolid, 0, 0);
    SetClientSize(this, 8595, 4860);
}

QLineEdit* SectionWindow::Field(int number) const {
    if (number < 1 || number > 13) return nullptr;
    return text_[static_cast<std::size_t>(number)];
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

    if (polygonal) grade1_->SetDataRowCount(vertexCount);
    if (polygonal || rectangular) grade2_->SetDataRowCount(barCount);
    text_[12]->setText(QString::number(vertexCount));
    text_[13]->setText(QString::number(barCount));
}

void SectionWindow::Collect(ColumnData& data) const {
    auto text = [this](int i) { return FromQ(text_[static_cast<std::size_t>(i)]->text()); };
    data.rectHx = text(1);
    data.rectHy = text(2);
    data.hollowHx = text(3);
    data.hollowHy = text(4);
    data.hollowBxo = text(5);
    data.hollowByo = text(6);
    data.circleDiameter = text(7);
    data.circleCover = text(8);
    data.hollowCircleDe = text(9);
    data.hollowCircleDi = text(10);
    data.hollowCircleCover = text(11);
    data.vertices = grade1_->Rows();
    data.bars = grade2_->Rows();
}

void SectionWindow::Apply(const ColumnData& data) {
    auto set = [this](int i, const std::string& value) {
        text_[static_cast<std::size_t>(i)]->setText(ToQ(value));
    };
    set(1, data.rectHx);
    set(2, data.rectHy);
    set(3, data.hollowHx);
    set(4, data.hollowHy);
    set(5, data.hollowBxo);
    set(6, data.hollowByo);
    set(7, data.circleDiameter);
    set(8, data.circleCover);
    set(9, data.hollowCircleDe);
    set(10, data.hollowCircleDi);
    set(11, data.hollowCircleCover);
    grade1_->SetRows(data.vertices);
    grade2_->SetRows(data.bars);
    Prepare(data.sectionType, grade1_->DataRowCount(), grade2_->DataRowCount());
}

void SectionWindow::ClearCurrentKind() {
    static const std::array<std::vector<int>, 5> fields{
        {{1, 2}, {3, 4, 5, 6}, {7, 8}, {9, 10, 11}, {}}};
    for (int i : fields[static_cast<std::size_t>(KindIndex(kind_))]) {
        text_[static_cast<std::size_t>(i)]->clear();
    }
    if (kind_ == SectionType::Polygonal) grade1_->ClearCells();
    if (kind_ != SectionType::CircularSolid && kind_ != SectionType::CircularHollow) {
        grade2_->ClearCells();
    }
}

void SectionWindow::Confirm() {
    hide();
    grade1_->CutLongTexts();
    grade2_->CutLongTexts();
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
    CoordinateGrid* grid = vertices ? grade1_ : grade2_;
    const bool countChanged = grid->DataRowCount() != count;
    grid->SetRows(rows);
    if (countChanged) {
        if (vertices) {
            text_[12]->setText(QString::number(count));
            emit vertexCountChanged(count);
        } else {
            text_[13]->setText(QString::number(count));
            emit barCountChanged(count);
        }
    }
    return true;
}

}  // namespace tarvelo::ui
