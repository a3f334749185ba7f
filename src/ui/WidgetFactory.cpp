#include "ui/WidgetFactory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <set>

#include "ui/CaptionRow.h"
#include "ui/ElidedLabel.h"
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

QLineEdit* createEdit(const ControlEntry& control, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    if (control.kind == ControlKind::ReadOnlyEdit) {
        edit->setReadOnly(true);
        // Read-only boxes look like the window behind them rather than like input fields.
        QPalette p = edit->palette();
        p.setBrush(QPalette::Base, p.brush(QPalette::Window));
        edit->setPalette(p);
    }
    if (control.flags & L::kCentreText) {
        edit->setAlignment(Qt::AlignCenter);
    }
    if (control.flags & L::kNarrow) {
        edit->setFixedWidth(charWidth(edit, 5) + 14);
    } else if (control.flags & L::kWide) {
        edit->setMinimumWidth(charWidth(edit, 36));
    } else {
        edit->setMinimumWidth(charWidth(edit, 10));
    }
    return edit;
}

QSlider* createSlider(const ControlEntry& control, QWidget* parent) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    slider->setRange(control.range.min, control.range.max);
    slider->setSingleStep(1);
    slider->setPageStep(control.range.tick);
    slider->setTickInterval(control.range.tick);
    slider->setTickPosition(QSlider::TicksBelow);
    slider->setInvertedAppearance(control.range.inverted);
    slider->setMinimumWidth(charWidth(slider, (control.flags & L::kNarrow) ? 6 : 20));
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

    for (const ControlEntry& control : table.controls) {
        auto it = grids.find(control.parent);
        if (it == grids.end()) {
            continue;  // a container is listed before what it holds
        }
        Grid& grid = it->second;
        QWidget* parent = grid.layout->parentWidget();
        const ControlKey key{table.dialog, control.id};
        for (int c = control.at.col; c < control.at.col + control.at.colSpan; ++c) {
            grid.usedColumns.insert(c);
            if (control.flags & L::kStretch) {
                grid.layout->setColumnStretch(c, 1);
                grid.stretchColumn = true;
            }
        }
        grid.columns = std::max(grid.columns, control.at.col + control.at.colSpan);
        grid.rows = std::max(grid.rows, control.at.row + control.at.rowSpan);

        if (control.kind == ControlKind::ColumnCaption) {
            addColumnCaption(control, key, parent, grid.layout);
            continue;
        }
        QWidget* widget = create(control, key, parent);
        place(control, widget, grid.layout);
        if (control.kind == ControlKind::GroupBox || control.kind == ControlKind::Panel) {
            auto* inner = new QGridLayout(widget);
            if (control.kind == ControlKind::Panel) {
                inner->setContentsMargins(0, 0, 0, 0);
            }
            grids[control.id] = {inner};
        }
        if (control.kind == ControlKind::TabControl) {
            grid.layout->setRowStretch(control.at.row, 1);
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

QWidget* WidgetFactory::create(const ControlEntry& control, ControlKey key, QWidget* parent) {
    QWidget* widget = nullptr;
    switch (control.kind) {
        case ControlKind::Button:
        case ControlKind::LabelButton: {
            auto* button = new QPushButton(qt(control.text), parent);
            // Enter never presses a button of this window.
            button->setAutoDefault(false);
            button->setDefault(false);
            widget = button;
            break;
        }
        case ControlKind::Label: {
            auto* label = (control.flags & L::kElide) ? new ElidedLabel(parent)
                                                      : new QLabel(qt(control.text), parent);
            if (control.flags & L::kCentreText) {
                label->setAlignment(Qt::AlignCenter);
            }
            widget = label;
            break;
        }
        case ControlKind::Edit:
        case ControlKind::ReadOnlyEdit:
            widget = createEdit(control, parent);
            break;
        case ControlKind::Slider:
            widget = createSlider(control, parent);
            break;
        case ControlKind::Combo: {
            auto* combo = new QComboBox(parent);
            for (const char* item : control.items) {
                combo->addItem(qt(item));
            }
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
            combo->setMaxVisibleItems(20);
            widget = combo;
            break;
        }
        case ControlKind::CheckBox:
            widget = new QCheckBox(qt(control.text), parent);
            break;
        case ControlKind::GroupBox:
            widget = new QGroupBox(qt(control.text), parent);
            break;
        case ControlKind::Panel:
            widget = new QWidget(parent);
            break;
        case ControlKind::ProgressBar: {
            auto* bar = new QProgressBar(parent);
            bar->setRange(0, 100);
            bar->setValue(0);
            // The status box beside it carries the percent; the bar is plain blue.
            bar->setTextVisible(false);
            QPalette palette = bar->palette();
            palette.setColor(QPalette::Highlight, QColor(0, 0, 255));
            bar->setPalette(palette);
            bar->setMinimumWidth(charWidth(bar, 16));
            widget = bar;
            break;
        }
        case ControlKind::ScaleCaption:
            widget = new ScaleStrip(qt(control.text), parent);
            break;
        case ControlKind::TabControl:
            m_pageHost = new PageHost(parent);
            widget = m_pageHost;
            break;
        case ControlKind::ColumnCaption:
            return nullptr;  // laid out label by label
    }
    widget->setObjectName(objectName(key));
    if (control.flags & L::kHidden) {
        widget->setVisible(false);
    }
    m_binder.bind(key, control.kind, widget, (control.flags & L::kHidden) != 0);
    return widget;
}

void WidgetFactory::place(const ControlEntry& control, QWidget* widget, QGridLayout* grid) {
    Qt::Alignment align;
    if (control.flags & L::kCentre) {
        align = Qt::AlignCenter;
    } else if (control.flags & L::kLeft) {
        align = Qt::AlignLeft | Qt::AlignVCenter;
    }
    grid->addWidget(widget, control.at.row, control.at.col, control.at.rowSpan, control.at.colSpan,
                    align);
}

void WidgetFactory::addColumnCaption(const ControlEntry& control, ControlKey key, QWidget* parent,
                                     QGridLayout* grid) {
    std::vector<QLabel*> labels;
    for (int i = 0; i < control.at.colSpan; ++i) {
        auto* label = new QLabel(parent);
        label->setObjectName(objectName(key));
        label->setAlignment(Qt::AlignCenter);
        grid->addWidget(label, control.at.row, control.at.col + i);
        labels.push_back(label);
    }
    auto* caption = new CaptionRow(std::move(labels), parent);
    caption->setText(qt(control.text));
    m_binder.bindCaption(key, caption);
}

}  // namespace orva
