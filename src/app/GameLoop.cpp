// GameLoop: placeholder.
