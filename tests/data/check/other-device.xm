<XML>
<DEVICE type="OTHER" version="1"/>
</XML>
