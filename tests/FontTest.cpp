// FontTest: placeholder until its cases land.
