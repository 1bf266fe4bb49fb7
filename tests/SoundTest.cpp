// SoundTest: placeholder until its cases land.
