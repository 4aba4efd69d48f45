object ModuleDialog: TModuleDialog
  Caption = 'From the program'
end
