#pragma once
// Control and command ids of the main window; the main window's message map dispatches on them.

enum ControlId : int {
    UpdateButtonId = 1001,
    ExportDxfButtonId = 1002,
    ExitButtonId = 1003,
    SaveButtonId = 1004,
    LoadButtonId = 1005,
    SaveSettingsCommandId = 1006,
    FitViewButtonId = 1007,
    Preview3dBoxId = 1008,
    TestServerButtonId = 1009,
    RenderEngineComboId = 1010,
    WebsiteButtonId = 1011,
    UnitsComboId = 1012,
    LanguageComboId = 1013,
    ResetButtonId = 1014,
    CheckUpdatesBoxId = 1015,
    AboutButtonId = 1016,
    AboutOpenButtonId = 1017,  // About window: open the product page
    AboutOkButtonId = 1018,    // About window: close
    AboutLinkId = 1019,        // About window: the product page address, clickable
    UpdateNoticeId = 1020,
    ServerAddressEditId = 1021,
    UndoCommandId = 1022,      // keyboard only
    RedoCommandId = 1023,      // keyboard only
    Toggle3dCommandId = 1024,  // keyboard only: flips the 3D check box
    TestPieceButtonId = 1025,
    SheetResultId = 1026,  // the sheet group's read-only line
    WidthEditId = 2001,
    HeightEditId = 2002,
    DepthEditId = 2003,
    ThicknessComboId = 2004,
    KerfEditId = 2005,
    ClearanceEditId = 2006,
    SpacingEditId = 2007,
    FingersWidthComboId = 2008,
    FingersDepthComboId = 2009,
    FingersHeightComboId = 2010,
    ToolDiameterComboId = 2011,
    WidthDividersComboId = 2012,
    DepthDividersComboId = 2013,
    SheetSizeComboId = 2014,
    SheetMarginEditId = 2015,
    InternalDimensionsBoxId = 3001,
    AddLidBoxId = 3002,
    CncRouterModeBoxId = 3003,
    DividerBaseSlotsBoxId = 3004,
    TurnPiecesBoxId = 3005,
    CompensateKerfBoxId = 3006,
    EngraveLabelsBoxId = 3007,
};
