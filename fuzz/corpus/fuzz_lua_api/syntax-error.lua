function OnEvent(
