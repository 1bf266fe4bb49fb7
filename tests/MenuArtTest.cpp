// MenuArtTest: placeholder until its cases land.
