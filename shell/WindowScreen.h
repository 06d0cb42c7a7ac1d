// Where the window's pixels are drawn and how they reach the screen. On the
// desktop this is SDL's window surface (shell/WindowScreen.cpp); in a page, a
// surface of our own that goes onto the canvas in one call
// (shell/WebScreen.cpp), since SDL's copies every pixel through JavaScript.
#pragma once

#include <SDL.h>

// The pixel format of window's surface, so the view can be composed in it and
// shown by a plain copy.
Uint32 ScreenPixelFormat(SDL_Window* window);

// The surface covering window's client area, or null when it cannot be had.
// It stays valid until the window changes size or is destroyed; call again
// before each paint.
SDL_Surface* ScreenSurface(SDL_Window* window);

// Shows what was painted into the rectangles of ScreenSurface(window), or all
// of it when count is 0. rects must lie within the surface.
void ShowScreen(SDL_Window* window, const SDL_Rect* rects, int count);

// Shows view, a surface of ScreenPixelFormat(window), unscaled with its top
// left corner at (x, y) of the screen; what falls outside the screen is not
// shown. The view's pixels may or may not be copied into ScreenSurface(window)
// on the way (the page puts them onto its canvas straight from the view), so
// a paint of the whole screen must paint the view's place too.
void ShowView(SDL_Window* window, SDL_Surface* view, int x, int y);
