// FilesTest: placeholder until its cases land.
