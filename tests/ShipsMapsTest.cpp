// ShipsMapsTest: placeholder until its cases land.
