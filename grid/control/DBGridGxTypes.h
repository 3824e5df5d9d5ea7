#pragma once
// Shared enumerations, option sets and small records of the data grid, its
// columns, titles and footers.
#include "platform/db/DBTypes.h"
#include "platform/gui/Graphics.h"
#include "platform/gui/CheckBox.h"
#include <QString>
#include <initializer_list>

// A set of enumeration members, member n kept as bit n (as the option sets of
// the grid are stored).
template <class E> class TSetGx {
public:
    constexpr TSetGx() = default;
    constexpr TSetGx(std::initializer_list<E> members)
    {
        for (E m : members) FBits |= Bit(m);
    }
    static constexpr TSetGx FromBits(quint64 bits) { TSetGx s; s.FBits = bits; return s; }
    constexpr quint64 Bits() const { return FBits; }
    constexpr bool Contains(E m) const { return (FBits & Bit(m)) != 0; }
    constexpr bool IsEmpty() const { return FBits == 0; }
    TSetGx& Include(E m) { FBits |= Bit(m); return *this; }
    TSetGx& Exclude(E m) { FBits &= ~Bit(m); return *this; }
    TSetGx& Set(E m, bool on) { return on ? Include(m) : Exclude(m); }
    constexpr TSetGx operator+(TSetGx o) const { return FromBits(FBits | o.FBits); }
    constexpr TSetGx operator-(TSetGx o) const { return FromBits(FBits & ~o.FBits); }
    constexpr TSetGx operator*(TSetGx o) const { return FromBits(FBits & o.FBits); }
    constexpr bool operator==(const TSetGx& o) const { return FBits == o.FBits; }
    constexpr bool operator!=(const TSetGx& o) const { return FBits != o.FBits; }

private:
    static constexpr quint64 Bit(E m) { return quint64(1) << unsigned(m); }
    quint64 FBits = 0;
};

// ---------------------------------------------------------------- grid option sets

enum TDBGridOption {
    dgEditing, dgAlwaysShowEditor, dgTitles, dgIndicator, dgColumnResize, dgColLines, dgRowLines,
    dgTabs, dgRowSelect, dgAlwaysShowSelection, dgConfirmDelete, dgCancelOnExit, dgMultiSelect
};
using TDBGridOptions = TSetGx<TDBGridOption>;

enum TDBGridGxOption {
    dghFixed3D, dghFrozen3D, dghFooter3D, dghData3D, dghResizeWholeRightPart, dghHighlightFocus,
    dghClearSelection, dghFitRowHeightToText, dghAutoSortMarking, dghMultiSortMarking, dghEnterAsTab,
    dghTraceColSizing, dghIncSearch, dghPreferIncSearch, dghRowHighlight, dghDblClickOptimizeColWidth,
    dghDialogFind, dghRecordMoving, dghShowRecNo, dghColumnResize, dghColumnMove, dghAutoFitRowHeight,
    dghHotTrack, dghExtendVertLines
};
using TDBGridGxOptions = TSetGx<TDBGridGxOption>;

enum TDBGridGxAllowedOperation { alopInsertGx, alopUpdateGx, alopDeleteGx, alopAppendGx };
using TDBGridGxAllowedOperations = TSetGx<TDBGridGxAllowedOperation>;

// The first four are also the members of the allowed selections.
enum TDBGridGxSelectionType { gstRecordBookmarks, gstRectangle, gstColumns, gstAll, gstNon };
using TDBGridGxAllowedSelections = TSetGx<TDBGridGxSelectionType>;

enum TDBGridGxEditAction { geaCutGx, geaCopyGx, geaPasteGx, geaDeleteGx, geaSelectAllGx };
using TDBGridGxEditActions = TSetGx<TDBGridGxEditAction>;

enum TEditButtonsShowOptionGx {
    sebShowOnlyForCurCellGx, sebShowOnlyForCurRowGx, sebShowOnlyWhenGridActiveGx, sebShowOnlyWhenDataEditingGx
};
using TEditButtonsShowOptionsGx = TSetGx<TEditButtonsShowOptionGx>;

enum TDBGridGxState {
    dgsNormal, dgsRowSelecting, dgsColSelecting, dgsRectSelecting, dgsPosTracing, dgsTitleDown, dgsColSizing,
    dgsRowMoving, dgsTitleFilterButtonDown, dgsGroupPanelTitleMoving, dgsGroupPanelTitleDown
};

// ---------------------------------------------------------------- column enumerations

// Which column attributes were given explicitly (bit 0 first).
enum TColumnGxValue {
    cvColor, cvWidth, cvFont, cvAlignment, cvReadOnly, cvTitleColor, cvTitleCaption, cvTitleAlignment,
    cvTitleFont, cvTitleButton, cvTitleEndEllipsis, cvTitleToolTips, cvTitleOrientation, cvImeMode, cvImeName,
    cvWordWrap, cvLookupDisplayFields, cvCheckboxes, cvAlwaysShowEditButton, cvEndEllipsis, cvAutoDropDown,
    cvDblClickNextVal, cvToolTips, cvDropDownSizing, cvDropDownShowTitles, cvLayout, cvHighlightRequired,
    cvBiDiMode, cvTextEditing
};
using TColumnGxValues = TSetGx<TColumnGxValue>;

enum TColumnButtonStyleGx { cbsAuto, cbsEllipsis, cbsNone, cbsUpDown, cbsDropDown, cbsAltUpDown, cbsAltDropDown };

enum TColumnGxType { ctCommon, ctPickList, ctLookupField, ctKeyPickList, ctKeyImageList, ctCheckboxes, ctGraphicData };

enum TTextLayoutGx { tlTop, tlCenter, tlBottom };
enum TTextOrientationGx { tohHorizontal, tohVertical };
enum TSortMarkerGx { smNoneGx, smDownGx, smUpGx };
enum TBiDiModeGx { bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly };
enum TImeModeGx { imDisable, imClose, imOpen, imDontCare, imSAlpha, imAlpha, imHira, imSKata, imKata, imChinese,
                  imSHanguel, imHanguel };

enum TColumnsStateGx { csDefault, csCustomized };

enum TFooterValueType { fvtNon, fvtSum, fvtAvg, fvtCount, fvtFieldValue, fvtStaticText };

enum TColumnFooterGxValue { cvFooterAlignment, cvFooterFont, cvFooterColor, cvFooterToolTips };
using TColumnFooterValues = TSetGx<TColumnFooterGxValue>;

enum TColumnTitleDefValuesGxValue { cvdpTitleColorGx, cvdpTitleAlignmentGx };
using TColumnTitleDefValuesGxValues = TSetGx<TColumnTitleDefValuesGxValue>;

enum TDBLookupGridGxOption { dlgColumnResizeGx, dlgColLinesGx, dlgRowLinesGx, dlgAutoSortMarkingGx,
                             dlgMultiSortMarkingGx };
using TDBLookupGridGxOptions = TSetGx<TDBLookupGridGxOption>;

enum TDropDownAlignGx { daLeft, daRight, daCenter };

// Draw-state bits handed to cell painters and cell-parameter events.
enum TGridDrawStateGxBit : unsigned { gdsSelected = 1, gdsFocused = 2, gdsFixed = 4, gdsHotTrack = 8, gdsCurrent = 16 };
using TGridDrawStateGx = unsigned;

// ---------------------------------------------------------------- cell parameters

class TColumnGx;

// Parameters of one data cell, filled for painting, hints and the cell-parameter
// events. The grid keeps one such record and reuses it for every cell.
class TColCellParamsGx {
public:
    int Row = -1;
    int Col = -1;
    TGridDrawStateGx State = 0;
    TFont* Font = nullptr;          // not owned
    TColor Background = clWindow;
    TAlignment Alignment = taLeftJustify;
    int ImageIndex = -1;
    QString Text;
    TCheckBoxState CheckboxState = cbUnchecked;
    bool BlankCell = false;
    bool ReadOnly = false;
    bool TextEditing = true;
    bool SuppressActiveCellColor = false;
    TRect CellRect;
};

// ---------------------------------------------------------------- filter-row kinds

enum TSTOperandTypeGx { botNon, botString, botNumber, botDateTime, botBoolean };
enum TSTFilterDefaultOperatorGx {
    fdoAuto, fdoEqual, fdoNotEqual, fdoGreaterThan, fdoLessThan, fdoGreaterOrEqual, fdoLessOrEqual, fdoLike,
    fdoNotLike, fdoIn, fdoNotIn, fdoBeginsWith, fdoDoesntBeginWith, fdoEndsWith, fdoDoesntEndWith, fdoContains,
    fdoDoesntContain
};

// ---------------------------------------------------------------- indicator-title menu

enum TDBGridGxStyleIndicatorTitleMenuGx { itmVisibleColumnsGx, itmCut, itmCopy, itmPaste, itmDelete, itmSelectAll };
using TDBGridGxStyleIndicatorTitleMenusGx = TSetGx<TDBGridGxStyleIndicatorTitleMenuGx>;
