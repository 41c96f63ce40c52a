<?xml version="1.0" encoding="windows-1250"?>
<XML>
<DEVICE type="DEMO-485" version="1.0" serial="D485-000731"/>
<NET ip="127.0.0.1" mask="255.0.0.0" gateway="127.0.0.1" dhcp="0" port="9999"/>
<COM1 baud="19200" parity="E" bits="8" stop="1" flow="0" timeout="50"/>
<COM2 baud="9600" parity="N" bits="8" stop="1" flow="1" timeout="100"/>
<INFO name="Čerpací stanice Žďár" location="Strojovna, rozvaděč R3" contact="údržba" firmware="2.3.1"/>
</XML>
