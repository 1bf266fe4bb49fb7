// SurfaceTest: placeholder until its cases land.
