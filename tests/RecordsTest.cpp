// RecordsTest: placeholder until its cases land.
