// GameFolderTest: placeholder until its cases land.
