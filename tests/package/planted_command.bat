@rem Stands in for a command that someone left where Skellan.BAT is started,
@rem under the name of one it runs. Should it ever run, it says so beside itself.
@echo %0>>"%~dp0planted-commands-ran.txt"
