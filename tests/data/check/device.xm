<?xml version="1.0" encoding="windows-1250"?>
<XML>
<DEVICE type="CHECK" version="1"/>
<NET ip="10.0.0.7" name="a b"/>
</XML>
