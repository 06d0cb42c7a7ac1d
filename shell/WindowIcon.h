// The window's icon, from pixels compiled into the program.
#pragma once

struct SDL_Window;

// Gives window the program's icon. Where it cannot be set the window simply
// has none, so this reports nothing.
void SetWindowIcon(SDL_Window* window);
