// The panel's commands in process, each from the message its control sends to what the window shows.
#include "shell_fixture_win32.h"

#include "output/dxf_polyline_writer.h"
#include "output/dxf_writer.h"
#include "output/fit_test.h"
#include "output/svg_writer.h"
#include "output/server_export.h"
#include "settings/file_io.h"
#include "settings/app_settings.h"
#include "support/files.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

class Commands : public FreshSettings {
protected:
    void TearDown() override {
        shell.close();  // its last save first
        FreshSettings::TearDown();
    }

    Shell shell{true};
    ScratchFolder folder;
};

// A newcomer's whole session: a design with dividers exported, saved, reset and loaded back exports
// the same DXF.
TEST_F(Commands, ADesignExportedSavedResetAndLoadedBackExportsTheSameDxf) {
    Application& app = shell.app();
    shell.type(WidthEditId, L"142.5");
    shell.type(DepthEditId, L"98.3");
    shell.type(ThicknessComboId, L"4");  // base slots wider than the bit
    shell.choose(FingersWidthComboId, 4);
    shell.choose(UnitsComboId, 1);
    shell.click(CncRouterModeBoxId);
    shell.click(AddLidBoxId);
    shell.type(WidthDividersComboId, L"12");  // beyond the list
    shell.choose(DepthDividersComboId, 1);
    shell.click(DividerBaseSlotsBoxId);
    ASSERT_TRUE(pumpUntil([&] { return shell.status().starts_with(L"Piezas: "); }, 5000)) << shell.status();
    EXPECT_EQ(app.design().widthDividerCount, 12);
    EXPECT_EQ(app.design().depthDividerCount, 1);
    EXPECT_TRUE(app.design().addDividerBaseSlots);
    EXPECT_EQ(loadSettings().design.widthDividerCount, 12);

    const std::wstring first = folder.file(L"primera.dxf");
    const std::wstring project = folder.file(L"mi caja.boxproj");
    shell.ui.choices = {first, project};
    shell.click(ExportDxfButtonId);
    EXPECT_EQ(shell.status(), L"DXF local guardado en pulgadas.");
    shell.click(SaveButtonId);
    EXPECT_EQ(shell.status(), L"Proyecto guardado correctamente.");
    EXPECT_EQ(shell.ui.dialogNames, (std::vector<std::wstring>{L"caja.dxf", L"caja.boxproj"}));
    const std::string exported = readBytes(first);
    EXPECT_EQ(exported, buildDxf(app.pieces(), true));

    for (int answer : {IDNO, IDYES}) {
        shell.ui.answer = answer;
        shell.click(ResetButtonId);
        EXPECT_EQ(shell.text(WidthEditId), answer == IDNO ? L"5.6102" : L"200");
    }
    EXPECT_EQ(shell.ui.messages[0].text, L"Quieres restablecer todos los valores iniciales? Esto sobrescribira la "
                                         L"configuracion guardada.");
    EXPECT_EQ(shell.status(), L"Configuracion inicial restablecida y guardada.");
    EXPECT_EQ(shell.text(WidthDividersComboId), L"0");
    EXPECT_EQ(readSettingsFile(), writeSettingsJson(AppSettings{}));

    shell.ui.choices = {project};
    shell.click(LoadButtonId);
    EXPECT_EQ(shell.status(), L"Proyecto cargado correctamente.");
    EXPECT_EQ(shell.text(FingersWidthComboId), L"5");
    EXPECT_EQ(shell.text(WidthDividersComboId), L"12");
    shell.choose(UnitsComboId, 1);  // the unit is a preference, not part of the design
    shell.ui.choices = {folder.file(L"segunda.dxf")};
    shell.click(ExportDxfButtonId);
    EXPECT_EQ(readBytes(folder.file(L"segunda.dxf")), exported);
    EXPECT_EQ(shell.ui.messages.size(), 2u) << "only the reset's questions";
    pumpMessagesFor(450);
    EXPECT_EQ(shell.status(), L"DXF local guardado en pulgadas.") << "filling the panel is no edit";
}

TEST_F(Commands, EachControlReachesItsHandler) {
    Application& app = shell.app();
    shell.click(Preview3dBoxId);
    EXPECT_EQ(shell.status(), L"Vista 3D activa. Motor: Automatico. Arrastra con clic izquierdo para rotar.");
    EXPECT_TRUE(loadSettings().preview3d);
    shell.choose(RenderEngineComboId, 1);
    EXPECT_EQ(shell.status(), L"Motor 3D seleccionado: GDI compatible");
    EXPECT_EQ(loadSettings().render3dMode, 1);
    shell.choose(LanguageComboId, 0);
    EXPECT_EQ(shell.status(), L"Language changed.");
    EXPECT_EQ(shell.text(AddLidBoxId), L"Add lid");
    EXPECT_EQ(loadSettings().language, L"en");
    shell.click(WebsiteButtonId);
    EXPECT_EQ(shell.ui.opened, std::vector<std::wstring>{kClosedPage});
    EXPECT_EQ(shell.status(), L"Opening Orvell Tessaro website...");

    shell.type(DepthEditId, L"180");
    shell.click(UpdateButtonId);
    EXPECT_EQ(app.design().inputDepth, 180.0);
    EXPECT_TRUE(shell.status().starts_with(L"Pieces: 5 |"));
    EXPECT_EQ(loadSettings().design.inputDepth, 180.0);
    shell.click(CheckUpdatesBoxId);
    EXPECT_FALSE(loadSettings().checkUpdatesOnStart);
    removeSettingsFolder();
    SendMessageW(shell.window(), WM_COMMAND, MAKEWPARAM(ServerAddressEditId, EN_KILLFOCUS), 0);
    EXPECT_FALSE(readSettingsFile().empty()) << "leaving the server address saves";
    shell.type(HeightEditId, L"77");
    shell.click(ExitButtonId);
    EXPECT_FALSE(IsWindow(shell.window()));
    EXPECT_EQ(loadSettings().design.inputHeight, 77.0);
    EXPECT_TRUE(shell.ui.messages.empty());
}

TEST_F(Commands, ARefusedDesignIsToldOnceAndNothingIsWritten) {
    shell.type(WidthEditId, L"0");
    shell.type(ServerAddressEditId, L"http://127.0.0.1:9/dxf.php");
    for (int id : {ExportDxfButtonId, SaveButtonId, TestServerButtonId}) {
        shell.ui.messages.clear();
        shell.click(id);
        ASSERT_EQ(shell.ui.messages.size(), 1u) << id;
        EXPECT_EQ(shell.ui.messages[0].text, L"El ancho debe ser mayor a 0 mm.") << id;
        EXPECT_EQ(shell.ui.messages[0].caption, L"Parametros invalidos") << id;
    }
    EXPECT_TRUE(shell.ui.dialogNames.empty());
}

// A router design with a lid and slotted dividers, so every format holds arcs and cut-outs. The type
// chosen in the dialog picks the writer, adds its extension and is offered first next time.
TEST_F(Commands, EachExportTypeWritesItsFormat) {
    shell.type(ThicknessComboId, L"4");  // base slots wider than the bit
    shell.click(CncRouterModeBoxId);
    shell.click(AddLidBoxId);
    shell.choose(WidthDividersComboId, 1);
    shell.click(DividerBaseSlotsBoxId);
    shell.choose(UnitsComboId, 1);
    const PieceSet& pieces = shell.app().pieces();
    const std::tuple<DWORD, const wchar_t*, std::string, const wchar_t*> types[] = {
        {2, L"plano.dxf", buildClosedDxf(pieces, true), L"DXF de polilineas cerradas guardado en pulgadas."},
        {3, L"plano.svg", buildSvg(pieces), L"SVG guardado en milimetros."},
        {1, L"plano.dxf", buildDxf(pieces, true), L"DXF local guardado en pulgadas."},
    };
    for (const auto& [type, written, bytes, status] : types) {
        shell.ui.choices = {folder.file(L"plano")};
        shell.ui.typeChoices = {type};
        shell.click(ExportDxfButtonId);
        EXPECT_EQ(shell.status(), status);
        EXPECT_EQ(readBytes(folder.file(written)), bytes) << type;
    }
    EXPECT_EQ(shell.ui.dialogTypes, (std::vector<DWORD>{1, 2, 3}));
    EXPECT_EQ(shell.ui.dialogNames, (std::vector<std::wstring>{L"caja.dxf", L"caja.dxf", L"caja.svg"}));
}

// The tooltip control the window made.
HWND tooltipsOf(HWND window) {
    for (HWND tips = FindWindowExW(nullptr, nullptr, TOOLTIPS_CLASSW, nullptr); tips;
         tips = FindWindowExW(nullptr, tips, TOOLTIPS_CLASSW, nullptr)) {
        if (GetWindow(tips, GW_OWNER) == window) return tips;
    }
    return nullptr;
}

// The cut group: its check boxes are design options, the test piece is written as an export is, and
// the compensation, greyed for a router, keeps its tooltip through a tool on the window over it.
TEST_F(Commands, TheCutGroupReachesItsHandlers) {
    shell.click(CompensateKerfBoxId);
    shell.click(EngraveLabelsBoxId);
    shell.click(UpdateButtonId);
    EXPECT_TRUE(shell.app().design().compensateKerf);
    EXPECT_TRUE(shell.app().design().engraveLabels);
    shell.ui.choices = {folder.file(L"prueba")};
    shell.click(TestPieceButtonId);
    EXPECT_EQ(shell.ui.dialogNames, std::vector<std::wstring>{L"prueba.dxf"});
    EXPECT_EQ(readBytes(folder.file(L"prueba.dxf")), buildDxf(fitTestPieces(shell.app().design()), false));

    shell.click(CncRouterModeBoxId);
    const HWND box = shell.control(CompensateKerfBoxId);
    EXPECT_FALSE(IsWindowEnabled(box));
    RECT place{};
    GetWindowRect(box, &place);
    MapWindowPoints(nullptr, shell.window(), reinterpret_cast<POINT*>(&place), 2);
    TTHITTESTINFOW hit{};
    hit.hwnd = shell.window();
    hit.pt = {(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    hit.ti.cbSize = TTTOOLINFOW_V1_SIZE;
    ASSERT_TRUE(SendMessageW(tooltipsOf(shell.window()), TTM_HITTESTW, 0, reinterpret_cast<LPARAM>(&hit)));
    NMTTDISPINFOW shown{};
    shown.hdr = {tooltipsOf(shell.window()), hit.ti.uId, TTN_GETDISPINFOW};
    SendMessageW(shell.window(), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&shown));
    ASSERT_NE(shown.lpszText, nullptr);
    EXPECT_TRUE(std::wstring(shown.lpszText).starts_with(L"Solo laser:"));
}

// The sheet group: a listed size and one typed in the panel's unit reach the design, the result line
// counts the sheets, and an export writes a file a sheet, asking once about those already there and
// naming an earlier, larger set's leftovers.
TEST_F(Commands, TheSheetGroupLaysTheExportOntoAFileASheet) {
    shell.choose(UnitsComboId, 1);
    shell.type(SheetSizeComboId, L"12 x 24");
    shell.click(UpdateButtonId);
    EXPECT_NEAR(shell.app().design().sheetSize.width, 304.8, 1e-9);
    EXPECT_NEAR(shell.app().design().sheetSize.height, 609.6, 1e-9);
    shell.choose(UnitsComboId, 0);
    EXPECT_EQ(shell.text(SheetSizeComboId), L"304.8 x 609.6");
    shell.choose(WidthDividersComboId, 2);
    shell.choose(SheetSizeComboId, 1);
    shell.click(TurnPiecesBoxId);
    shell.click(UpdateButtonId);
    EXPECT_EQ(shell.app().design().sheetSize, (SheetSize{300, 200}));
    EXPECT_FALSE(shell.app().design().turnPieces);
    const std::vector<Sheet> sheets = sheetsOf(shell.app().design(), shell.app().pieces());
    ASSERT_EQ(sheets.size(), 6u);
    EXPECT_EQ(shell.text(SheetResultId), L"6 hojas, 39 % usado");

    writeBytes(folder.file(L"caja-2.dxf"), "earlier");
    writeBytes(folder.file(L"caja-7.dxf"), "earlier");
    shell.ui.answer = IDNO;
    shell.ui.choices = {folder.file(L"caja"), std::nullopt};
    shell.click(ExportDxfButtonId);
    ASSERT_EQ(shell.ui.messages.size(), 1u);
    EXPECT_EQ(shell.ui.messages[0].text, L"Estos archivos ya existen. Desea reemplazarlos?\n\ncaja-2.dxf\n\n"
                                         L"Quedan archivos de una exportacion anterior con mas hojas (no se borran):\n"
                                         L"caja-7.dxf");
    EXPECT_EQ(readBytes(folder.file(L"caja-2.dxf")), "earlier") << "no is no";
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"caja-1.dxf"));

    shell.ui.answer = IDYES;
    shell.ui.choices = {folder.file(L"caja")};
    shell.click(ExportDxfButtonId);
    for (size_t i = 0; i < sheets.size(); ++i)
        EXPECT_EQ(readBytes(folder.file(L"caja-" + std::to_wstring(i + 1) + L".dxf")), buildDxf(sheets[i].pieces, false));
    EXPECT_EQ(readBytes(folder.file(L"caja-7.dxf")), "earlier");
    EXPECT_EQ(shell.status(), L"DXF local guardado en milimetros. 6 archivos, uno por hoja.");
    EXPECT_FALSE(std::filesystem::exists(folder.path() / L"caja.dxf"));

    // A sheet no piece fits refuses the design: the export says so and writes none of the last pieces.
    shell.ui.messages.clear();
    shell.type(SheetSizeComboId, L"100 x 100");
    shell.click(ExportDxfButtonId);
    ASSERT_EQ(shell.ui.messages.size(), 1u);
    EXPECT_EQ(shell.ui.messages[0].text, L"La pieza Base (200 x 150 mm) no cabe en la hoja (90 x 90 mm utiles).");
    EXPECT_EQ(shell.ui.dialogNames.size(), 3u) << "the two exports above opened three; the refusal none";
}

std::wstring address(const char* portVariable) {
    const char* port = std::getenv(portVariable);
    return port ? L"http://127.0.0.1:" + utf8ToWide(port) + L"/dxf.php" : L"";
}

// The reference server answers with the design's DXF; an address where nothing listens or that
// answers with an error page is told, quoting at most 600 bytes of the page.
TEST_F(Commands, TheServerTestTellsTheBytesReceivedOrWhyNot) {
    ASSERT_NE(std::getenv("TESSARO_DXF_SERVER_PORT"), nullptr) << "run through scripts/run-with-servers.sh";
    shell.click(CncRouterModeBoxId);
    shell.click(UpdateButtonId);
    std::string dxf;
    std::wstring error;
    ASSERT_TRUE(requestServerDxf(address("TESSARO_DXF_SERVER_PORT"), shell.app().pieces(), dxf, error));
    const std::wstring answered = L"Servidor PHP OK. DXF recibido: " + std::to_wstring(dxf.size()) + L" bytes.";
    const std::tuple<std::wstring, std::wstring, std::wstring> cases[] = {
        {address("TESSARO_DXF_SERVER_PORT"), answered, answered},
        {address("TESSARO_CLOSED_PORT"), L"No se pudo enviar el JSON al servidor PHP.", L"Servidor PHP con error."},
        {address("TESSARO_SITE_PORT"), L"El servidor DXF respondio 501: <", L"Servidor PHP con error."},
        {L"", L"La URL PHP esta vacia.", shell.status()},
    };
    for (const auto& [server, message, status] : cases) {
        shell.ui.messages.clear();
        shell.type(ServerAddressEditId, server);
        shell.click(TestServerButtonId);
        ASSERT_EQ(shell.ui.messages.size(), 1u);
        EXPECT_TRUE(shell.ui.messages[0].text.starts_with(message)) << wideToUtf8(shell.ui.messages[0].text);
        EXPECT_LE(shell.ui.messages[0].text.size(), message.size() + 600);
        EXPECT_EQ(shell.ui.messages[0].caption, L"Servidor DXF");
        EXPECT_EQ(shell.status(), status);
    }
}

}  // namespace
