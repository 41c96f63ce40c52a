<?xml version="1.0" encoding="windows-1250"?>
<XML>
<DEVICE type="GUIDE" version="1.0"/>
<NET ip="192.0.2.10" port="502" dhcp="1"/>
</XML>
