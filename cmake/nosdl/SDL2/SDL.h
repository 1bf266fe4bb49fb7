// Poison header: the game core must stay free of SDL; only src/media/sdl may include it.
#error "SDL may only be included by the platform layer in src/media/sdl"
