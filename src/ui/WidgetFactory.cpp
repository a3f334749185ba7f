#include "ui/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <set>

#include "ui/CaptionRow.h"
#include "ui/ModelBinder.h"
#include "ui/PageHost.h"
#include "ui/ScaleStrip.h"

namespace orva {
namespace {

namespace L = layout;

// Room left between blocks of controls, where a table leaves a grid column empty.
constexpr int kColumnGapChars = 3;

QString qt(const char* text) {
    return QString::fromUtf8(text);
}

// Sizes follow the font, so that they grow with it and with the screen's scale.
int charWidth(const QWidget* w, int chars) {
    return QFontMetrics(w->font()).horizontalAdvance(QLatin1Char('0')) * chars;
}

QLineEdit* createEdit(const ControlSpec& spec, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    if (spec.kind == ControlKind::ReadOnlyEdit) {
        edit->setReadOnly(true);
        // Read-only boxes look like the window behind them rather than like input fields.
        QPalette p = edit->palette();
        p.setBrush(QPalette::Base, p.brush(QPalette::Window));
        edit->setPalette(p);
    }
    if (spec.flags & L::kCentreText) {
        edit->setAlignment(Qt::AlignCenter);
    }
    if (spec.flags & L::kNarrow) {
        edit->setFixedWidth(charWidth(edit, 5) + 14);
    } else if (spec.flags & L::kWide) {
        edit->setMinimumWidth(charWidth(edit, 36));
    } else {
        edit->setMinimumWidth(charWidth(edit, 10));
    }
    return edit;
}

QSlider* createSlider(const ControlSpec& spec, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(spec.range.min, spec.range.max);
    slider->setSingleStep(1);
    slider->setPageStep(spec.range.tick);
    slider->setTickInterval(spec.range.tick);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setInvertedAppearance(spec.range.inverted);
    slider->setMinimumWidth(charWidth(slider, (spec.flags & L::kNarrow) ? 6 : 20));
    return slider;
}

}  // namespace

QString WidgetFactory::objectName(ControlKey key) {
    return QStringLiteral("%1:%2").arg(static_cast<int>(key.dialog)).arg(key.id);
}

void WidgetFactory::build(const DialogTable& table, QWidget* root) {
    struct Grid {
        QGridLayout* layout;
        std::set<int> usedColumns;
        int columns = 0;
        int rows = 0;
        bool stretchColumn = false;
        bool stretchRow = false;
    };
    std::map<int, Grid> grids;
    grids[0] = {new QGridLayout(root)};

    for (const ControlSpec& spec : table.controls) {
        auto it = grids.find(spec.parent);
        if (it == grids.end()) {
            continue;  // a container is listed before what it holds
        }
        Grid& grid = it->second;
        QWidget* parent = grid.layout->parentWidget();
        const ControlKey key{table.dialog, spec.id};
        for (int c = spec.at.col; c < spec.at.col + spec.at.colSpan; ++c) {
            grid.usedColumns.insert(c);
            if (spec.flags & L::kStretch) {
                grid.layout->setColumnStretch(c, 1);
                grid.stretchColumn = true;
            }
        }
        grid.columns = std::max(grid.columns, spec.at.col + spec.at.colSpan);
        grid.rows = std::max(grid.rows, spec.at.row + spec.at.rowSpan);

        if (spec.kind == ControlKind::ColumnCaption) {
            addColumnCaption(spec, key, parent, grid.layout);
            continue;
        }
        QWidget* widget = create(spec, key, parent);
        place(spec, widget, grid.layout);
        if (spec.kind == ControlKind::GroupBox || spec.kind == ControlKind::Panel) {
            auto* inner = new QGridLayout(widget);
            if (spec.kind == ControlKind::Panel) {
                inner->setContentsMargins(0, 0, 0, 0);
            }
            grids[spec.id] = {inner};
        }
        if (spec.kind == ControlKind::TabControl) {
            grid.layout->setRowStretch(spec.at.row, 1);
            grid.stretchRow = true;
        }
    }

    for (auto& [id, grid] : grids) {
        const int gap = charWidth(grid.layout->parentWidget(), kColumnGapChars);
        for (int c = 0; c < grid.columns; ++c) {
            if (!grid.usedColumns.count(c)) {
                grid.layout->setColumnMinimumWidth(c, gap);
            }
        }
        // Content keeps its natural width and sits to the left and top of spare room.
        if (!grid.stretchColumn) {
            grid.layout->setColumnStretch(grid.columns, 1);
        }
        if (!grid.stretchRow) {
            grid.layout->setRowStretch(grid.rows, 1);
        }
    }
}

QWidget* WidgetFactory::create(const ControlSpec& spec, ControlKey key, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (spec.kind) {
        case ControlKind::Button:
        case ControlKind::LabelButton: {
            auto* button = new QPushButton(qt(spec.text), parent);
            // Enter never presses a button of this window.
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        case ControlKind::Label: {
            auto* label = new QLabel(qt(spec.text), parent);
            if (spec.flags & L::kCentreText) {
                label->setAlignment(Qt::AlignCenter);
            }
            widget = label;
            break;
        }
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
            widget = createEdit(spec, parent);
            break;
        case ControlKind::Slider:
            widget = createSlider(spec, parent);
            break;
        case ControlKind::Combo: {
            auto* combo = new QComboBox(parent);
            for (const char* item : spec.items) {
                combo->addItem(qt(item));
            }
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            combo->setMaxVisibleItems(20);
            widget = combo;
            break;
        }
        case ControlKind::CheckBox:
            widget = new QCheckBox(qt(spec.text), parent);
            break;
        case ControlKind::GroupBox:
            widget = new QGroupBox(qt(spec.text), parent);
            break;
        case ControlKind::Panel:
            widget = new QWidget(parent);
            break;
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            bar->setMinimumWidth(charWidth(bar, 16));
            widget = bar;
            break;
        }
        case ControlKind::ScaleCaption:
            widget = new ScaleStrip(qt(spec.text), parent);
            break;
        case ControlKind::TabControl:
            m_pageHost = new PageHost(parent);
            widget = m_pageHost;
            break;
        case ControlKind::ColumnCaption:
            return nullptr;  // laid out label by label
    }
    widget->setObjectName(objectName(key));
    if (spec.flags & L::kHidden) {
        widget->setVisible(false);
    }
    m_binder.bind(key, spec.kind, widget, (spec.flags & L::kHidden) != 0);
    return widget;
}

void WidgetFactory::place(const ControlSpec& spec, QWidget* widget, QGridLayout* grid) {
    Qt::Alignment align;
    if (spec.flags & L::kCentre) {
        align = Qt::AlignCenter;
    } else if (spec.flags & L::kLeft) {
        align = Qt::AlignLeft | Qt::AlignVCenter;
    }
    grid->addWidget(widget, spec.at.row, spec.at.col, spec.at.rowSpan, spec.at.colSpan, align);
}

void WidgetFactory::addColumnCaption(const ControlSpec& spec, ControlKey key, QWidget* parent,
                                     QGridLayout* grid) {
    std::vector<QLabel*> labels;
    for (int i = 0; i < spec.at.colSpan; ++i) {
        auto* label = new QLabel(parent);
        label->setObjectName(objectName(key));
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, spec.at.row, spec.at.col + i);
        labels.push_back(label);
    }
    auto* caption = new CaptionRow(std::move(labels), parent);
    caption->setText(qt(spec.text));
    m_binder.bindCaption(key, caption);
}

}  // namespace orva
