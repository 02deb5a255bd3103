// Runs under Wine against native loopback servers started by run_server_export_tests.sh.
#include "output/server_export.h"

#include "output/dxf_text.h"
#include "output/dxf_writer.h"
#include "output/server_request.h"
#include "output/test_pieces.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

std::wstring address(const char* portVariable, const wchar_t* rest) {
    const char* port = std::getenv(portVariable);
    if (port == nullptr) return {};
    return L"http://127.0.0.1:" + std::wstring(port, port + std::char_traits<char>::length(port)) + rest;
}

class ServerExportTest : public testing::Test {
protected:
    void SetUp() override {
        if (!std::getenv("TESSARO_DXF_SERVER_PORT") || !std::getenv("TESSARO_FIXTURE_PORT") ||
            !std::getenv("TESSARO_CLOSED_PORT"))
            GTEST_FAIL() << "run through run_server_export_tests.sh, which starts the servers";
    }
    std::string dxf = "stale";
    std::wstring error = L"stale";
};

TEST_F(ServerExportTest, ReferenceServerAnswersWithTheDesignsDxf) {
    auto designs = sampleDesigns();
    designs.resize(4);  // defaults, router, lid, dividers with base slots
    for (const auto& [name, parameters] : designs) {
        const PieceSet pieces = generatePieces(parameters);
        ASSERT_TRUE(requestServerDxf(address("TESSARO_DXF_SERVER_PORT", L"/dxf.php"), pieces, dxf, error))
            << name << ": " << std::string(error.begin(), error.end());
        EXPECT_TRUE(error.empty());
        EXPECT_EQ(dxfDifference(dxf, buildDxf(pieces, false), 0.0005 + 1e-9), "") << name;
    }
}

TEST_F(ServerExportTest, PostsTheExactBodyToThePathAndQueryGiven) {
    const PieceSet pieces = {bulgedPiece(L"Atras", 10, 20, false), bulgedPiece(L"Divisor ancho", 0.1234, 0)};
    const std::string body = buildServerRequestJson(pieces);
    struct Case {
        const wchar_t* rest;
        const char* target;
    };
    const Case cases[] = {
        {L"", "/"},
        {L"/", "/"},
        {L"/export/dxf.php", "/export/dxf.php"},
        {L"/dxf.php?job=caja&units=mm", "/dxf.php?job=caja&units=mm"},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(requestServerDxf(address("TESSARO_FIXTURE_PORT", c.rest), pieces, dxf, error)) << c.target;
        EXPECT_EQ(dxf, std::string("POST ") + c.target + "\napplication/json\nTessaro\n\n" + body);
    }
}

TEST_F(ServerExportTest, ErrorRepliesQuoteTheFirst600Bytes) {
    const PieceSet pieces = {bulgedPiece(L"Atras", 0, 0)};
    EXPECT_FALSE(requestServerDxf(address("TESSARO_FIXTURE_PORT", L"/missing"), pieces, dxf, error));
    EXPECT_TRUE(dxf.empty());
    std::string page = "<html><body>No encontrado \xe9\xf1";
    for (int i = 0; page.size() < 600; ++i) page += " linea " + std::to_string(i);
    page.resize(600);
    std::wstring expected = L"El servidor DXF respondio 404: ";
    for (char c : page) expected.push_back(static_cast<unsigned char>(c));
    EXPECT_EQ(error, expected);
    EXPECT_EQ(error.size(), std::wstring(L"El servidor DXF respondio 404: ").size() + 600);

    EXPECT_FALSE(requestServerDxf(address("TESSARO_FIXTURE_PORT", L"/empty"), pieces, dxf, error));
    EXPECT_EQ(error, L"El servidor respondio vacio.");
    EXPECT_TRUE(dxf.empty());

    // The reference server refuses a request it cannot draw with 400 and its reason.
    Piece odd = bulgedPiece(L"Atras", 0, 0);
    odd.path[1].radius = 0;
    EXPECT_FALSE(requestServerDxf(address("TESSARO_DXF_SERVER_PORT", L"/"), {odd}, dxf, error));
    EXPECT_EQ(error, L"El servidor DXF respondio 400: entities[1].radius: must be positive\n");
}

TEST_F(ServerExportTest, AddressesThatLeadNowhere) {
    const PieceSet pieces = {bulgedPiece(L"Atras", 0, 0)};
    struct Case {
        std::wstring address;
        const wchar_t* error;
    };
    const char* closed = std::getenv("TESSARO_CLOSED_PORT");
    const Case cases[] = {
        {L"not an address", L"URL PHP invalida."},
        {L"", L"URL PHP invalida."},
        {L"http://" + std::wstring(300, L'h') + L".example/", L"URL PHP invalida."},
        {L"http://127.0.0.1:" + std::wstring(closed, closed + std::char_traits<char>::length(closed)) + L"/",
         L"No se pudo enviar el JSON al servidor PHP."},
    };
    for (const Case& c : cases) {
        dxf = "stale";
        EXPECT_FALSE(requestServerDxf(c.address, pieces, dxf, error)) << std::string(c.address.begin(), c.address.end());
        EXPECT_EQ(error, c.error) << std::string(c.address.begin(), c.address.end());
        EXPECT_TRUE(dxf.empty());
    }
}

}  // namespace
