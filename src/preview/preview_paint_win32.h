#pragma once
// One paint of the preview window: Direct3D when the view and engine choice ask for it, otherwise
// (or when Direct3D fails) GDI into an off-screen bitmap copied to the window in one go.
#include <windows.h>

#include <optional>
#include <string>

#include "model/box_parameters.h"
#include "model/piece_set.h"
#include "preview/canvas.h"
#include "preview/direct3d_renderer_win32.h"
#include "preview/plan_preview.h"
#include "preview/preview_view_state.h"

// The window's client rectangle; all zero for an empty handle.
ClientRect clientRectOf(HWND window);

// Paints between BeginPaint and EndPaint on paintDc; the 2D plan on its sheets when given. Returns the status line text when a fallback
// from the Direct3D 9 engine must be announced; empty otherwise (Automatic falls back silently).
std::optional<std::wstring> paintPreview(HWND window, HDC paintDc, const ClientRect& client,
                                         const PreviewViewState& view, Direct3DRenderer& renderer,
                                         const BoxParameters& parameters, const PieceSet& pieces,
                                         const PreviewTexts& texts, std::span<const SheetFrame> sheets = {});

// Draws the GDI view of the state (3D or cut plan) on dc, which holds client.
void paintGdiView(HDC dc, const ClientRect& client, const PreviewViewState& view, const BoxParameters& parameters,
                  const PieceSet& pieces, const PreviewTexts& texts, std::span<const SheetFrame> sheets = {});
